// 按规则排班 in four steps:
//  1. The hand-set cells alone (every other cell rest) are checked: a rule they
//     break between themselves no arrangement can mend, so it is the reason.
//  2. An exact search, day by day and nurse by nurse, puts on each day just the
//     nights and day shifts the minimums still ask for and rests everyone
//     else. Exact counts lose nothing: turning a free cell into rest never
//     breaks a nurse's own rules, so any month that keeps the rules can be cut
//     down to one of these. The search keeps every nurse able to finish her
//     month, skips nurses alike in all that is left of it, drops a branch
//     when some stretch of days needs more working days than the nurses'
//     work-run limits leave, and remembers the day states it has seen fail;
//     nothing else is cut, so its "no" is a proof, and the first day and
//     shift that no month staffs is found by searching ever longer
//     beginnings of the month. Its order of trying is the quality's (fewest
//     nights first); a ward whose rules are drawn so tight that this takes
//     long is searched again in the order that wastes fewest working days.
//  3. Nights are evened out and given a senior nurse by swaps between two
//     nurses on one day (or two days, for a trade of equal counts).
//  4. Each nurse's rests become day shifts where her rules allow, keeping
//     ⌊2 × days / 7⌋ rest days placed where fewest nurses are off, by
//     dynamic programming over her row; then her weekend and holiday days
//     off are moved towards her share of them.
// Everything works in fixed arrays on the caller's stack (about 170 KB, and
// the search's recursion at most days × (nurses + 2) frames deep).
#include "month/arrange.h"

#include "engine/bounded_text.h"
#include "month/month_rules.h"

namespace {

constexpr int32_t kMaxNurses = kMonthMaxNurses;
constexpr int32_t kMaxDays = kMonthMaxDays;
constexpr uint8_t kNoClass = 0xFF;

// The order in which a free cell's options are tried; nurses alike take them
// in this order, so that of two equal nurses the first never takes a later one.
enum Option : uint8_t { kTryNight = 0, kTryDay = 1, kTryRest = 2 };
constexpr uint8_t kOptionShift[3] = {kShiftNight, kShiftDay, kShiftRest};

// Where a nurse stands in her rules as a day begins: nights in a row and
// working days in a row just before it.
struct RunState {
    uint8_t nights;
    uint8_t work;
};

bool SameState(RunState a, RunState b) {
    return a.nights == b.nights && a.work == b.work;
}

RunState StepState(RunState state, uint8_t shift) {
    if (shift == kShiftNight)
        return {static_cast<uint8_t>(state.nights + 1), static_cast<uint8_t>(state.work + 1)};
    if (shift == kShiftDay) return {0, static_cast<uint8_t>(state.work + 1)};
    return {0, 0};
}

// The month as the arrangement sees it: which cells are given, and what each
// day still needs from the free ones.
struct Ward {
    int32_t nurses;
    int32_t days;
    MonthLimits limits;
    bool given[kMaxNurses][kMaxDays];  // leave or set by hand
    uint8_t shift[kMaxNurses][kMaxDays];
    bool takesNights[kMaxNurses];
    bool senior[kMaxNurses];
    bool anyGrade;
    bool weekend[kMaxDays];  // weekends and holidays
    int32_t weekendDays;
    int32_t restTarget;           // ⌊2 × days / 7⌋
    uint8_t needNight[kMaxDays];  // nights the free cells must add
    uint8_t needDay[kMaxDays];
    // Hand-set working days, and nights, in a row from each day.
    uint8_t givenWorkAhead[kMaxNurses][kMaxDays + 1];
    uint8_t givenNightsAhead[kMaxNurses][kMaxDays + 1];
    uint8_t freeAhead[kMaxNurses][kMaxDays + 1];  // free cells from each day
    // Nurses with the same class on day t have the same cells from t on.
    uint8_t futureClass[kMaxDays + 1][kMaxNurses];
};

int32_t Clamp(int32_t value, int32_t low, int32_t high) {
    return value < low ? low : value > high ? high : value;
}

bool IsGiven(const MonthCell& cell) {
    return cell.byHand || cell.shift == kShiftLeave;
}

void CountRunsAhead(Ward* ward) {
    for (int32_t i = 0; i < ward->nurses; ++i) {
        ward->givenWorkAhead[i][ward->days] = 0;
        ward->givenNightsAhead[i][ward->days] = 0;
        ward->freeAhead[i][ward->days] = 0;
        for (int32_t t = ward->days - 1; t >= 0; --t) {
            const bool given = ward->given[i][t];
            const uint8_t shift = ward->shift[i][t];
            ward->givenWorkAhead[i][t] =
                given && IsWorkingShift(shift) ? ward->givenWorkAhead[i][t + 1] + 1 : 0;
            ward->givenNightsAhead[i][t] =
                given && shift == kShiftNight ? ward->givenNightsAhead[i][t + 1] + 1 : 0;
            ward->freeAhead[i][t] =
                static_cast<uint8_t>(ward->freeAhead[i][t + 1] + (given ? 0 : 1));
        }
    }
}

// Classes by the pair (the day's cell, the class of the days after it).
void ClassifyFutures(Ward* ward) {
    for (int32_t i = 0; i < ward->nurses; ++i)
        ward->futureClass[ward->days][i] = ward->takesNights[i] ? 1 : 0;
    for (int32_t t = ward->days - 1; t >= 0; --t) {
        uint8_t next = 0;
        for (int32_t i = 0; i < ward->nurses; ++i) {
            const uint8_t code = ward->given[i][t] ? ward->shift[i][t] : kMonthShiftCount;
            uint8_t cls = kNoClass;
            for (int32_t j = 0; j < i && cls == kNoClass; ++j) {
                const uint8_t other = ward->given[j][t] ? ward->shift[j][t] : kMonthShiftCount;
                if (other == code && ward->futureClass[t + 1][j] == ward->futureClass[t + 1][i])
                    cls = ward->futureClass[t][j];
            }
            ward->futureClass[t][i] = cls != kNoClass ? cls : next++;
        }
    }
}

void ReadWard(const RotaMonth& month, Ward* ward) {
    ward->nurses = month.nurses;
    ward->days = month.days;
    // Limits outside their ranges (a month not read through the window or a
    // file) are taken at the nearest value the arrays hold.
    ward->limits = month.limits;
    ward->limits.maxNightRun = Clamp(month.limits.maxNightRun, 1, kMaxDays);
    ward->limits.maxWorkRun = Clamp(month.limits.maxWorkRun, 1, kMaxDays);
    ward->limits.minDay = Clamp(month.limits.minDay, 0, kMaxNurses + 1);
    ward->limits.minNight = Clamp(month.limits.minNight, 0, kMaxNurses + 1);
    ward->anyGrade = false;
    ward->weekendDays = 0;
    ward->restTarget = 2 * month.days / 7;
    for (int32_t t = 0; t < month.days; ++t) {
        ward->weekend[t] = IsWeekendDay(month, t) || month.holiday[t];
        ward->weekendDays += ward->weekend[t] ? 1 : 0;
    }
    for (int32_t i = 0; i < month.nurses; ++i) {
        ward->takesNights[i] = !month.nurse[i].noNights;
        ward->senior[i] = month.nurse[i].grade >= kNightLeadGrade;
        ward->anyGrade |= month.nurse[i].grade != kNoGrade;
        for (int32_t t = 0; t < month.days; ++t) {
            ward->given[i][t] = IsGiven(month.cell[i][t]);
            ward->shift[i][t] = ward->given[i][t] ? month.cell[i][t].shift : uint8_t{kShiftRest};
        }
    }
    for (int32_t t = 0; t < month.days; ++t) {
        int32_t nights = 0, days = 0;
        for (int32_t i = 0; i < month.nurses; ++i) {
            if (!ward->given[i][t]) continue;
            nights += ward->shift[i][t] == kShiftNight ? 1 : 0;
            days += ward->shift[i][t] == kShiftDay ? 1 : 0;
        }
        const int32_t need_night = ward->limits.minNight - nights;
        const int32_t need_day = ward->limits.minDay - days;
        ward->needNight[t] = static_cast<uint8_t>(need_night > 0 ? need_night : 0);
        ward->needDay[t] = static_cast<uint8_t>(need_day > 0 ? need_day : 0);
    }
    CountRunsAhead(ward);
    ClassifyFutures(ward);
}

// Whether a nurse in this state at the start of day t can keep her rules to
// the month's end. Resting every free cell from t on does it, unless the
// hand-set working days that begin at t carry her runs too far (hand-set
// runs further on begin after a rest, and step 1 found those sound).
bool CanFinish(const Ward& ward, int32_t i, int32_t t, RunState state) {
    if (t >= ward.days) return true;
    const int32_t run = ward.givenWorkAhead[i][t];
    if (run == 0) return true;
    if (state.work + run > ward.limits.maxWorkRun) return false;
    if (ward.shift[i][t] == kShiftDay) return state.nights == 0;
    return state.nights + ward.givenNightsAhead[i][t] <= ward.limits.maxNightRun;
}

bool MayWork(const Ward& ward, RunState state, uint8_t shift, bool takes_nights) {
    if (state.work >= ward.limits.maxWorkRun) return false;
    if (shift == kShiftDay) return state.nights == 0;
    return takes_nights && state.nights < ward.limits.maxNightRun;
}

// --- Step 2: the exact search ---

constexpr int32_t kMemoSlots = 1024;
constexpr int32_t kMemoProbes = 4;

// A day's states in a form where equal means equally placed: a nurse who
// must rest today is the same whatever her runs, one with nothing free left
// has no state that matters, and nurses alike in all that is left of the
// month are listed in order of their states.
struct DayKey {
    uint16_t code[kMaxNurses];
};

// A day state seen to fail: from it the days up to the search's last
// covered day cannot all be staffed.
struct FailedState {
    int8_t day;  // -1: empty slot
    DayKey key;
};

// The searches of one arrangement stop after this many steps together (a
// cell tried is one step, a day's look ahead one per nurse and day looked
// at; the whole budget takes at most some 0.1 to 0.5 s). Wards of a real size take a few
// thousand; only rules drawn so tight that a month barely exists take more,
// and then the box says that the search gave up, never that no month exists.
constexpr int32_t kQualityBudget = 50000;
constexpr int32_t kSearchBudget = 3000000;

struct Search {
    const Ward* ward;
    int32_t lastCovered;      // the last day whose minimums count
    bool nightOnLastCovered;  // whether that day's night minimum counts
    RunState state[kMaxDays + 1][kMaxNurses];
    uint8_t pick[kMaxDays][kMaxNurses];
    uint8_t option[kMaxDays][kMaxNurses];
    uint8_t nightsBefore[kMaxDays + 1][kMaxNurses];
    // The day's order of nurses and, for each place, the place of the last
    // nurse before it who is alike (-1 for none).
    uint8_t order[kMaxDays][kMaxNurses];
    int8_t alikeBefore[kMaxDays][kMaxNurses];
    bool mayNight[kMaxDays][kMaxNurses];
    bool mayDay[kMaxDays][kMaxNurses];
    // Nurses from each place of the order on who may take a night, a day, either.
    uint8_t nightsLeft[kMaxDays][kMaxNurses + 1];
    uint8_t daysLeft[kMaxDays][kMaxNurses + 1];
    uint8_t eitherLeft[kMaxDays][kMaxNurses + 1];
    bool ordersByQuality;  // else by what keeps the most nurses free to work
    int32_t steps;
    int32_t budget;
    bool gaveUp;
    FailedState failed[kMemoSlots];
};

uint16_t StateCode(const Ward& ward, int32_t i, int32_t t, RunState state) {
    const bool must_rest =
        state.work >= ward.limits.maxWorkRun || state.nights >= ward.limits.maxNightRun;
    if (must_rest) return static_cast<uint16_t>(ward.limits.maxWorkRun);
    if (ward.freeAhead[i][t] == 0) return 0;
    return static_cast<uint16_t>(state.nights * 256 + state.work);
}

void MakeDayKey(const Search& search, int32_t t, DayKey* key) {
    const Ward& ward = *search.ward;
    bool placed[kMaxNurses] = {};
    int32_t n = 0;
    for (int32_t i = 0; i < ward.nurses; ++i) {
        if (placed[i]) continue;
        const int32_t start = n;
        for (int32_t j = i; j < ward.nurses; ++j) {
            if (placed[j] || ward.futureClass[t][j] != ward.futureClass[t][i]) continue;
            placed[j] = true;
            const uint16_t code = StateCode(ward, j, t, search.state[t][j]);
            int32_t k = n++;
            for (; k > start && key->code[k - 1] > code; --k)
                key->code[k] = key->code[k - 1];
            key->code[k] = code;
        }
    }
}

uint32_t HashKey(const DayKey& key, int32_t nurses, int32_t t) {
    uint32_t hash = 2166136261u ^ static_cast<uint32_t>(t);
    for (int32_t i = 0; i < nurses; ++i)
        hash = (hash ^ key.code[i]) * 16777619u;
    return hash;
}

bool MatchesFailed(const FailedState& entry, const DayKey& key, int32_t nurses, int32_t t) {
    if (entry.day != t) return false;
    for (int32_t i = 0; i < nurses; ++i)
        if (entry.key.code[i] != key.code[i]) return false;
    return true;
}

bool KnownToFail(const Search& search, const DayKey& key, int32_t t) {
    const int32_t nurses = search.ward->nurses;
    const uint32_t hash = HashKey(key, nurses, t);
    for (int32_t probe = 0; probe < kMemoProbes; ++probe)
        if (MatchesFailed(search.failed[(hash + probe) % kMemoSlots], key, nurses, t)) return true;
    return false;
}

void RememberFailure(Search* search, const DayKey& key, int32_t t) {
    const uint32_t hash = HashKey(key, search->ward->nurses, t);
    int32_t slot = static_cast<int32_t>(hash % kMemoSlots);
    for (int32_t probe = 0; probe < kMemoProbes; ++probe) {
        const int32_t candidate = static_cast<int32_t>((hash + probe) % kMemoSlots);
        if (search->failed[candidate].day < 0) {
            slot = candidate;
            break;
        }
    }
    search->failed[slot].day = static_cast<int8_t>(t);
    search->failed[slot].key = key;
}

// Lower goes first; given cells first of all (they take no choice).
// By quality: nurses who may take a night, the fewest nights first, one
// already on nights (who may not work a day tomorrow) before a fresh one,
// then the one with fewer free days left, then a senior; then the rest, the
// shortest working run first.
int32_t QualityKey(const Search& search, int32_t t, int32_t i) {
    const Ward& ward = *search.ward;
    if (search.mayNight[t][i]) {
        const int32_t continuing = search.state[t][i].nights > 0 ? 3 : 0;
        const int32_t key = search.nightsBefore[t][i] * 2 - continuing;
        return (key * 64 + ward.freeAhead[i][t]) * 2 + (ward.senior[i] ? 0 : 1);
    }
    if (search.mayDay[t][i]) return 100000 + search.state[t][i].work;
    return 200000;
}

// By what it costs tomorrow: a nurse who is off tomorrow anyway works for
// nothing, one on nights goes on with them, then the shortest run first.
int32_t ThriftKey(const Search& search, int32_t t, int32_t i) {
    const Ward& ward = *search.ward;
    const bool off_tomorrow =
        t + 1 >= ward.days || (ward.given[i][t + 1] && !IsWorkingShift(ward.shift[i][t + 1]));
    const bool on_nights = search.mayNight[t][i] && search.state[t][i].nights > 0;
    return (off_tomorrow ? 0 : 4096) + (on_nights ? 0 : 1024) + search.state[t][i].work * 2 +
           (search.mayNight[t][i] ? 0 : 1);
}

int32_t OrderKey(const Search& search, int32_t t, int32_t i) {
    if (search.ward->given[i][t]) return -1;
    return search.ordersByQuality ? QualityKey(search, t, i) : ThriftKey(search, t, i);
}

void SortDay(Search* search, int32_t t, int32_t* keys) {
    uint8_t* order = search->order[t];
    for (int32_t k = 1; k < search->ward->nurses; ++k) {
        const uint8_t nurse = order[k];
        const int32_t key = keys[nurse];
        int32_t j = k;
        for (; j > 0 && keys[order[j - 1]] > key; --j)
            order[j] = order[j - 1];
        order[j] = nurse;
    }
}

bool Alike(const Search& search, int32_t t, int32_t a, int32_t b) {
    const Ward& ward = *search.ward;
    return !ward.given[b][t] && SameState(search.state[t][a], search.state[t][b]) &&
           ward.futureClass[t + 1][a] == ward.futureClass[t + 1][b];
}

void PrepareDay(Search* search, int32_t t) {
    const Ward& ward = *search->ward;
    int32_t keys[kMaxNurses];
    for (int32_t i = 0; i < ward.nurses; ++i) {
        const RunState state = search->state[t][i];
        const bool free = !ward.given[i][t];
        search->mayNight[t][i] = free && MayWork(ward, state, kShiftNight, ward.takesNights[i]) &&
                                 CanFinish(ward, i, t + 1, StepState(state, kShiftNight));
        search->mayDay[t][i] = free && MayWork(ward, state, kShiftDay, true) &&
                               CanFinish(ward, i, t + 1, StepState(state, kShiftDay));
        search->order[t][i] = static_cast<uint8_t>(i);
        keys[i] = OrderKey(*search, t, i);
    }
    SortDay(search, t, keys);
    search->nightsLeft[t][ward.nurses] = 0;
    search->daysLeft[t][ward.nurses] = 0;
    search->eitherLeft[t][ward.nurses] = 0;
    for (int32_t k = ward.nurses - 1; k >= 0; --k) {
        const int32_t i = search->order[t][k];
        const bool night = search->mayNight[t][i], day = search->mayDay[t][i];
        search->nightsLeft[t][k] =
            static_cast<uint8_t>(search->nightsLeft[t][k + 1] + (night ? 1 : 0));
        search->daysLeft[t][k] = static_cast<uint8_t>(search->daysLeft[t][k + 1] + (day ? 1 : 0));
        search->eitherLeft[t][k] =
            static_cast<uint8_t>(search->eitherLeft[t][k + 1] + (night || day ? 1 : 0));
    }
    for (int32_t k = 0; k < ward.nurses; ++k) {
        const int32_t i = search->order[t][k];
        search->alikeBefore[t][k] = -1;
        if (ward.given[i][t]) continue;
        for (int32_t j = k - 1; j >= 0 && search->alikeBefore[t][k] < 0; --j)
            if (Alike(*search, t, i, search->order[t][j]))
                search->alikeBefore[t][k] = static_cast<int8_t>(j);
    }
}

void RestTheRest(Search* search, int32_t from) {
    const Ward& ward = *search->ward;
    for (int32_t t = from; t < ward.days; ++t)
        for (int32_t i = 0; i < ward.nurses; ++i)
            search->pick[t][i] = ward.given[i][t] ? ward.shift[i][t] : uint8_t{kShiftRest};
}

struct DayNeed {
    int32_t nights;
    int32_t days;
};

DayNeed NeedOf(const Search& search, int32_t t) {
    const Ward& ward = *search.ward;
    const bool nights = t < search.lastCovered || search.nightOnLastCovered;
    return {nights ? ward.needNight[t] : 0, ward.needDay[t]};
}

bool SolveDay(Search* search, int32_t t);

// The most free cells nurse i can work from day `from` to each day up to
// last, starting with `work` working days in a row behind her: her work-run
// limit and hand-set cells alone, nights and days alike. No month gives
// more, so a stretch of days that needs more from the free cells than all
// nurses together can give has no month.
void AddMostWork(const Ward& ward, int32_t i, int32_t from, int32_t work, int32_t last,
                 int32_t* most) {
    const int32_t max_work = ward.limits.maxWorkRun;
    int32_t done[kMaxDays + 2], next[kMaxDays + 2];
    for (int32_t w = 0; w <= max_work; ++w)
        done[w] = w == work ? 0 : -1;
    for (int32_t u = from; u <= last; ++u) {
        int32_t best = -1;
        for (int32_t w = 0; w <= max_work; ++w)
            next[w] = -1;
        for (int32_t w = 0; w <= max_work; ++w) {
            if (done[w] < 0) continue;
            const bool free = !ward.given[i][u];
            const bool working = !free && IsWorkingShift(ward.shift[i][u]);
            if (!working && done[w] > next[0]) next[0] = done[w];
            const int32_t gain = free ? 1 : 0;
            if ((free || working) && w < max_work && done[w] + gain > next[w + 1])
                next[w + 1] = done[w] + gain;
        }
        for (int32_t w = 0; w <= max_work; ++w) {
            done[w] = next[w];
            if (next[w] > best) best = next[w];
        }
        most[u] += best > 0 ? best : 0;
    }
}

// Whether the nurses, standing as they do at the start of day t, could give
// every stretch of days from t on the working days its minimums need.
bool EnoughHands(const Search& search, int32_t t, bool from_rest) {
    const Ward& ward = *search.ward;
    const int32_t last = search.lastCovered;
    int32_t most[kMaxDays] = {};
    for (int32_t i = 0; i < ward.nurses; ++i)
        AddMostWork(ward, i, t, from_rest ? 0 : search.state[t][i].work, last, most);
    int32_t needed = 0;
    for (int32_t u = t; u <= last; ++u) {
        const DayNeed need = NeedOf(search, u);
        needed += need.nights + need.days;
        if (most[u] < needed) return false;
    }
    return true;
}

// The same for stretches beginning on any day, each nurse rested before it.
// And each day's nights from the nurses who take nights.
bool EnoughHandsEverywhere(const Search& search) {
    const Ward& ward = *search.ward;
    for (int32_t t = 0; t <= search.lastCovered; ++t) {
        int32_t takers = 0;
        for (int32_t i = 0; i < ward.nurses; ++i)
            takers += !ward.given[i][t] && ward.takesNights[i] ? 1 : 0;
        if (takers < NeedOf(search, t).nights || !EnoughHands(search, t, true)) return false;
    }
    return true;
}

bool CanStillStaff(const Search& search, int32_t t, int32_t k, DayNeed left) {
    return left.nights <= search.nightsLeft[t][k] && left.days <= search.daysLeft[t][k] &&
           left.nights + left.days <= search.eitherLeft[t][k];
}

bool FinishDay(Search* search, int32_t t) {
    const Ward& ward = *search->ward;
    for (int32_t i = 0; i < ward.nurses; ++i) {
        const uint8_t shift = search->pick[t][i];
        search->state[t + 1][i] = StepState(search->state[t][i], shift);
        search->nightsBefore[t + 1][i] =
            static_cast<uint8_t>(search->nightsBefore[t][i] + (shift == kShiftNight ? 1 : 0));
    }
    return SolveDay(search, t + 1);
}

// Tries the options of the nurse at place k of day t's order; left is what
// the day still needs from the free cells.
bool PickCell(Search* search, int32_t t, int32_t k, DayNeed left) {
    const Ward& ward = *search->ward;
    if (++search->steps > search->budget) search->gaveUp = true;
    if (search->gaveUp || !CanStillStaff(*search, t, k, left)) return false;
    if (k == ward.nurses) return FinishDay(search, t);
    const int32_t i = search->order[t][k];
    if (ward.given[i][t]) {
        search->pick[t][i] = ward.shift[i][t];
        return PickCell(search, t, k + 1, left);
    }
    const int32_t alike = search->alikeBefore[t][k];
    const uint8_t first =
        alike < 0 ? uint8_t{kTryNight} : search->option[t][search->order[t][alike]];
    for (uint8_t option = first; option <= kTryRest; ++option) {
        DayNeed next = left;
        if (option == kTryNight) {
            if (left.nights == 0 || !search->mayNight[t][i]) continue;
            --next.nights;
        } else if (option == kTryDay) {
            if (left.days == 0 || !search->mayDay[t][i]) continue;
            --next.days;
        }
        search->option[t][i] = option;
        search->pick[t][i] = kOptionShift[option];
        if (PickCell(search, t, k + 1, next)) return true;
    }
    return false;
}

bool SolveDay(Search* search, int32_t t) {
    if (t > search->lastCovered) {
        RestTheRest(search, t);
        return true;
    }
    DayKey key;
    MakeDayKey(*search, t, &key);
    if (KnownToFail(*search, key, t)) return false;
    search->steps += search->ward->nurses * (search->lastCovered - t + 1);
    if (!EnoughHands(*search, t, false)) {
        RememberFailure(search, key, t);
        return false;
    }
    PrepareDay(search, t);
    if (PickCell(search, t, 0, NeedOf(*search, t))) return true;
    if (!search->gaveUp) RememberFailure(search, key, t);
    return false;
}

bool SolveUpTo(Search* search, int32_t last_covered, bool night_on_last) {
    search->gaveUp = false;
    search->lastCovered = last_covered;
    search->nightOnLastCovered = night_on_last;
    for (FailedState& entry : search->failed)
        entry.day = -1;
    for (int32_t i = 0; i < search->ward->nurses; ++i) {
        search->state[0][i] = {0, 0};
        search->nightsBefore[0][i] = 0;
    }
    return EnoughHandsEverywhere(*search) && SolveDay(search, 0);
}

// Whether a month keeps the rules with the minimums up to last_covered;
// false with gaveUp set when the search ran out of steps.
bool Staffable(Search* search, int32_t last_covered, bool night_on_last) {
    search->ordersByQuality = false;
    search->budget = kSearchBudget;
    return SolveUpTo(search, last_covered, night_on_last);
}

const wchar_t kGaveUp[] = L"规则过紧，未能排出（也未能证明无法排出）；请放宽上限或最少人数后再试";

// The first day whose minimums cannot be met with the days before it, and
// which of its shifts: the searches for ever longer beginnings of the month
// fail from that day on, so a halving search finds it.
void ExplainShortDay(Search* search, const RotaMonth& month, wchar_t* reason, int32_t capacity) {
    int32_t low = 0, high = month.days - 1;
    while (low < high) {
        const int32_t middle = (low + high) / 2;
        const bool staffable = Staffable(search, middle, true);
        if (search->gaveUp) return CopyText(reason, capacity, kGaveUp);
        if (staffable)
            low = middle + 1;
        else
            high = middle;
    }
    const bool day_short = !Staffable(search, low, false);
    if (search->gaveUp) return CopyText(reason, capacity, kGaveUp);
    const MonthShift shift = day_short ? kShiftDay : kShiftNight;
    const int32_t minimum = day_short ? month.limits.minDay : month.limits.minNight;
    wchar_t date[16];
    FormatMonthDay(month, low, date, 16);
    FormatText(reason, capacity, L"%ls%ls无法排满：可排%ls的护士不足 %d 人", date,
               kMonthShiftNames[shift], kMonthShiftNames[shift], minimum);
}

// The month's skeleton: first in the quality's order, which for wards of
// a real size finds a month at once; when that takes too long, in the
// order that wastes the fewest working days, with what is left of the budget.
// False with the reason when no month keeps the rules or the search gave up.
bool FindSkeleton(Search* search, const RotaMonth& month, wchar_t* reason, int32_t capacity) {
    const int32_t last = month.days - 1;
    search->steps = 0;
    search->ordersByQuality = true;
    search->budget = kQualityBudget;
    if (SolveUpTo(search, last, true)) return true;
    if (search->gaveUp && Staffable(search, last, true)) return true;
    if (search->gaveUp)
        CopyText(reason, capacity, kGaveUp);
    else
        ExplainShortDay(search, month, reason, capacity);
    return false;
}

// --- Step 1: the hand-set cells between themselves ---

bool IsCellRule(MonthRule rule) {
    return rule == kRuleDayAfterNight || rule == kRuleNightRun || rule == kRuleNoNights ||
           rule == kRuleWorkRun;
}

// The month with every free cell at rest: its breaches of a nurse's own rules
// are between hand-set cells alone.
bool FindGivenBreach(const RotaMonth& month, const Ward& ward, MonthCheck* check, RotaMonth* rested,
                     wchar_t* reason, int32_t capacity) {
    *rested = month;
    for (int32_t i = 0; i < ward.nurses; ++i)
        for (int32_t t = 0; t < ward.days; ++t)
            if (!ward.given[i][t]) rested->cell[i][t] = {kShiftRest, false};
    CheckMonth(*rested, check);
    for (int32_t b = 0; b < check->hardCount; ++b) {
        const MonthBreach& breach = check->breach[b];
        if (!IsCellRule(breach.rule)) continue;
        FormatBreach(*rested, breach, reason, capacity);
        AppendText(reason, capacity,
                   breach.first == breach.last ? L"（手动设定）" : L"（均为手动设定）");
        return true;
    }
    return false;
}

// --- The month being improved ---

struct Plan {
    const Ward* ward;
    uint8_t shift[kMaxNurses][kMaxDays];
    int32_t nights[kMaxNurses];
    int16_t dayShifts[kMaxDays];  // D per day
};

bool IsFree(const Plan& plan, int32_t i, int32_t t) {
    return !plan.ward->given[i][t];
}

// A nurse's own rules (a), (b), (c) for free cells, (e) over her whole row.
bool RowKeepsRules(const Plan& plan, int32_t i) {
    const Ward& ward = *plan.ward;
    RunState state = {0, 0};
    for (int32_t t = 0; t < ward.days; ++t) {
        const uint8_t shift = plan.shift[i][t];
        if (IsWorkingShift(shift) && !MayWork(ward, state, shift, true)) return false;
        if (shift == kShiftNight && !ward.takesNights[i] && IsFree(plan, i, t)) return false;
        state = StepState(state, shift);
    }
    return true;
}

bool SwapCells(Plan* plan, int32_t a, int32_t b, int32_t t) {
    const uint8_t keep = plan->shift[a][t];
    plan->shift[a][t] = plan->shift[b][t];
    plan->shift[b][t] = keep;
    if (RowKeepsRules(*plan, a) && RowKeepsRules(*plan, b)) return true;
    plan->shift[b][t] = plan->shift[a][t];
    plan->shift[a][t] = keep;
    return false;
}

// Moves one free night from nurse a to nurse b on some day, if a swap of
// their cells that day keeps both rows within the rules.
bool MoveNight(Plan* plan, int32_t a, int32_t b) {
    for (int32_t t = 0; t < plan->ward->days; ++t) {
        if (plan->shift[a][t] != kShiftNight || !IsFree(*plan, a, t)) continue;
        if (plan->shift[b][t] == kShiftNight || !IsFree(*plan, b, t)) continue;
        if (!SwapCells(plan, a, b, t)) continue;
        --plan->nights[a];
        ++plan->nights[b];
        return true;
    }
    return false;
}

// (i): while some night-taking nurse has two nights more than another, a
// night moves from the first to the second.
void EvenNights(Plan* plan) {
    const Ward& ward = *plan->ward;
    for (bool moved = true; moved;) {
        moved = false;
        for (int32_t a = 0; a < ward.nurses && !moved; ++a) {
            if (!ward.takesNights[a]) continue;
            for (int32_t b = 0; b < ward.nurses && !moved; ++b)
                if (ward.takesNights[b] && plan->nights[a] >= plan->nights[b] + 2)
                    moved = MoveNight(plan, a, b);
        }
    }
}

bool NightHasSenior(const Plan& plan, int32_t t) {
    for (int32_t i = 0; i < plan.ward->nurses; ++i)
        if (plan.shift[i][t] == kShiftNight && plan.ward->senior[i]) return true;
    return false;
}

bool NightHasStaff(const Plan& plan, int32_t t) {
    for (int32_t i = 0; i < plan.ward->nurses; ++i)
        if (plan.shift[i][t] == kShiftNight) return true;
    return false;
}

// Gives junior nurse j's night on day u to senior nurse s in return for one
// of s's nights on another day that keeps a senior without her: both keep
// their counts.
bool TradeNights(Plan* plan, int32_t j, int32_t s, int32_t u) {
    if (!SwapCells(plan, j, s, u)) return false;
    for (int32_t t = 0; t < plan->ward->days; ++t) {
        if (t == u || plan->shift[s][t] != kShiftNight || !IsFree(*plan, s, t)) continue;
        if (!IsFree(*plan, j, t) || plan->shift[j][t] == kShiftNight) continue;
        if (!SwapCells(plan, s, j, t)) continue;
        if (NightHasSenior(*plan, t)) return true;
        SwapCells(plan, s, j, t);
    }
    SwapCells(plan, j, s, u);
    return false;
}

// (iv): a night without a senior nurse takes one in place of a junior nurse
// who has more nights than she, or trades nights with one who has as many,
// so that the spread never widens.
void CoverNightsWithSeniors(Plan* plan) {
    const Ward& ward = *plan->ward;
    if (!ward.anyGrade) return;
    for (int32_t t = 0; t < ward.days; ++t) {
        if (!NightHasStaff(*plan, t) || NightHasSenior(*plan, t)) continue;
        bool done = false;
        for (int32_t j = 0; j < ward.nurses && !done; ++j) {
            if (plan->shift[j][t] != kShiftNight || !IsFree(*plan, j, t)) continue;
            for (int32_t s = 0; s < ward.nurses && !done; ++s) {
                if (!ward.senior[s] || !ward.takesNights[s] || !IsFree(*plan, s, t)) continue;
                if (plan->nights[s] + 1 <= plan->nights[j] && SwapCells(plan, j, s, t)) {
                    --plan->nights[j];
                    ++plan->nights[s];
                    done = true;
                } else if (plan->nights[s] == plan->nights[j]) {
                    done = TradeNights(plan, j, s, t);
                }
            }
        }
    }
}

// --- Step 4: day shifts where rests need not be ---

constexpr int32_t kShortRestCost = 1 << 20;  // per rest day below the target
constexpr int32_t kExtraRestCost = 1 << 10;  // per rest day beyond it
constexpr int32_t kUnreachable = 0x7FFFFFFF;
constexpr int32_t kMaxRestTarget = 2 * kMaxDays / 7;

// One nurse's row by dynamic programming over (working days in a row, rest
// days so far up to the target): her free rests become day shifts, keeping
// the target's rest days where the rules let her, and each rest goes where
// the fewest nurses are off already (offs counts them per day).
struct RowTable {
    int32_t cost[2][kMaxDays + 2][kMaxRestTarget + 1];
    uint16_t from[kMaxDays][kMaxDays + 2][kMaxRestTarget + 1];  // work * 16 + rests, + 1 if rest
};

void FillRow(Plan* plan, int32_t i, const int32_t* offs, const int32_t* spare, RowTable* table) {
    const Ward& ward = *plan->ward;
    const int32_t max_work = ward.limits.maxWorkRun, target = ward.restTarget;
    int32_t(*cost)[kMaxDays + 2][kMaxRestTarget + 1] = table->cost;
    for (int32_t w = 0; w <= max_work; ++w)
        for (int32_t r = 0; r <= target; ++r)
            cost[0][w][r] = w == 0 && r == 0 ? 0 : kUnreachable;
    for (int32_t t = 0; t < ward.days; ++t) {
        const int32_t now = t & 1, next = now ^ 1;
        for (int32_t w = 0; w <= max_work; ++w)
            for (int32_t r = 0; r <= target; ++r)
                cost[next][w][r] = kUnreachable;
        const bool after_night = t > 0 && plan->shift[i][t - 1] == kShiftNight;
        const uint8_t now_shift = plan->shift[i][t];
        const bool open = IsFree(*plan, i, t) &&
                          (now_shift == kShiftRest || (now_shift == kShiftDay && spare[t] > 0));
        for (int32_t w = 0; w <= max_work; ++w) {
            for (int32_t r = 0; r <= target; ++r) {
                const int32_t here = cost[now][w][r];
                if (here == kUnreachable) continue;
                auto reach = [&](int32_t nw, int32_t nr, int32_t add, bool rest) {
                    if (nw > max_work || here + add >= cost[next][nw][nr]) return;
                    cost[next][nw][nr] = here + add;
                    table->from[t][nw][nr] =
                        static_cast<uint16_t>((w * 16 + r) * 2 + (rest ? 1 : 0));
                };
                const uint8_t shift = plan->shift[i][t];
                if (open) {
                    if (!after_night) reach(w + 1, r, 0, false);
                    reach(0, r < target ? r + 1 : r, r < target ? offs[t] : kExtraRestCost, true);
                } else if (IsWorkingShift(shift)) {
                    reach(w + 1, r, 0, false);
                } else {
                    const bool counts = shift == kShiftRest && r < target;
                    reach(0, counts ? r + 1 : r, 0, true);
                }
            }
        }
    }
    const int32_t last = ward.days & 1;
    int32_t best = kUnreachable, best_w = 0, best_r = 0;
    for (int32_t r = target; r >= 0; --r)
        for (int32_t w = 0; w <= max_work; ++w) {
            const int32_t here = cost[last][w][r];
            if (here == kUnreachable) continue;
            const int32_t total = here + (target - r) * kShortRestCost;
            if (total < best) best = total, best_w = w, best_r = r;
        }
    for (int32_t t = ward.days - 1; t >= 0; --t) {
        const uint16_t from = table->from[t][best_w][best_r];
        if (IsFree(*plan, i, t) && plan->shift[i][t] != kShiftNight)
            plan->shift[i][t] = (from & 1) ? kShiftRest : kShiftDay;
        best_w = (from >> 1) / 16;
        best_r = (from >> 1) % 16;
    }
}

int32_t DayShiftsOn(const Plan& plan, int32_t t) {
    int32_t count = 0;
    for (int32_t i = 0; i < plan.ward->nurses; ++i)
        count += plan.shift[i][t] == kShiftDay ? 1 : 0;
    return count;
}

int32_t FreeRests(const Plan& plan, int32_t i, int32_t t) {
    return IsFree(plan, i, t) && plan.shift[i][t] == kShiftRest ? 1 : 0;
}

// Two rounds. The first turns rests into day shifts around the search's
// nights and day shifts; then, with days now staffed above their minimums,
// the second places each nurse's rest days afresh over all her free cells
// but nights, a day shift moving only where its day keeps its minimum.
void FillDayShifts(Plan* plan) {
    const Ward& ward = *plan->ward;
    int32_t offs[kMaxDays] = {}, spare[kMaxDays] = {};
    for (int32_t t = 0; t < ward.days; ++t)
        for (int32_t i = 0; i < ward.nurses; ++i)
            offs[t] += !IsFree(*plan, i, t) && !IsWorkingShift(plan->shift[i][t]) ? 1 : 0;
    RowTable table;
    for (int32_t i = 0; i < ward.nurses; ++i) {
        FillRow(plan, i, offs, spare, &table);
        for (int32_t t = 0; t < ward.days; ++t)
            offs[t] += FreeRests(*plan, i, t);
    }
    for (int32_t i = 0; i < ward.nurses; ++i) {
        for (int32_t t = 0; t < ward.days; ++t) {
            offs[t] -= FreeRests(*plan, i, t);
            spare[t] = DayShiftsOn(*plan, t) - ward.limits.minDay;
        }
        FillRow(plan, i, offs, spare, &table);
        for (int32_t t = 0; t < ward.days; ++t)
            offs[t] += FreeRests(*plan, i, t);
    }
}

// --- Weekend days off ---

int32_t WeekendOffs(const Plan& plan, int32_t i) {
    int32_t offs = 0;
    for (int32_t t = 0; t < plan.ward->days; ++t)
        offs += plan.ward->weekend[t] && !IsWorkingShift(plan.shift[i][t]) ? 1 : 0;
    return offs;
}

// How far a nurse's weekend days off are from her share of the target's
// rest days (in days × the month's length, to stay whole).
int32_t WeekendGap(const Plan& plan, int32_t offs) {
    const int32_t gap = offs * plan.ward->days - plan.ward->restTarget * plan.ward->weekendDays;
    return gap < 0 ? -gap : gap;
}

// Swaps a free rest and a free day shift of one nurse, the rest going to
// `to`, when the rows keep the rules and `from` keeps its day minimum.
bool MoveRest(Plan* plan, int32_t i, int32_t from, int32_t to) {
    if (DayShiftsOn(*plan, to) <= plan->ward->limits.minDay) return false;
    plan->shift[i][from] = kShiftDay;
    plan->shift[i][to] = kShiftRest;
    if (RowKeepsRules(*plan, i)) return true;
    plan->shift[i][from] = kShiftRest;
    plan->shift[i][to] = kShiftDay;
    return false;
}

int32_t RestDays(const Plan& plan, int32_t i) {
    int32_t rests = 0;
    for (int32_t t = 0; t < plan.ward->days; ++t)
        rests += plan.shift[i][t] == kShiftRest ? 1 : 0;
    return rests;
}

int32_t OffsOn(const Plan& plan, int32_t t) {
    int32_t offs = 0;
    for (int32_t i = 0; i < plan.ward->nurses; ++i)
        offs += IsWorkingShift(plan.shift[i][t]) ? 0 : 1;
    return offs;
}

// Days of nurse i holding `shift` in a free cell, on weekends or not, the
// most crowded with days off first (or last).
int32_t DaysByOffs(const Plan& plan, int32_t i, uint8_t shift, bool weekend, bool crowded_first,
                   uint8_t* days) {
    int32_t keys[kMaxDays], count = 0;
    for (int32_t t = 0; t < plan.ward->days; ++t) {
        if (!IsFree(plan, i, t) || plan.shift[i][t] != shift || plan.ward->weekend[t] != weekend)
            continue;
        const int32_t key = crowded_first ? -OffsOn(plan, t) : OffsOn(plan, t);
        int32_t k = count++;
        for (; k > 0 && keys[k - 1] > key; --k) {
            keys[k] = keys[k - 1];
            days[k] = days[k - 1];
        }
        keys[k] = key;
        days[k] = static_cast<uint8_t>(t);
    }
    return count;
}

// Moves one of nurse i's free rests from a day that is (or is not) a
// weekend to one that is not (or is), keeping her rest days: from the day
// most crowded with days off to the least crowded that her rules allow.
bool SwapRestAcrossWeek(Plan* plan, int32_t i, bool onto_weekend) {
    uint8_t from[kMaxDays], to[kMaxDays];
    const int32_t froms = DaysByOffs(*plan, i, kShiftRest, !onto_weekend, true, from);
    const int32_t tos = DaysByOffs(*plan, i, kShiftDay, onto_weekend, false, to);
    for (int32_t a = 0; a < froms; ++a)
        for (int32_t b = 0; b < tos; ++b)
            if (MoveRest(plan, i, from[a], to[b])) return true;
    return false;
}

// Failing a swap: a weekend day shift becomes a rest (a day shift fewer,
// which counts after the weekends), or a weekend rest beyond her rest days
// becomes a day shift.
bool TurnWeekendDay(Plan* plan, int32_t i, bool onto_weekend) {
    const Ward& ward = *plan->ward;
    if (!onto_weekend && RestDays(*plan, i) <= ward.restTarget) return false;
    const uint8_t from = onto_weekend ? kShiftDay : kShiftRest;
    for (int32_t t = 0; t < ward.days; ++t) {
        if (!ward.weekend[t] || !IsFree(*plan, i, t) || plan->shift[i][t] != from) continue;
        if (onto_weekend && DayShiftsOn(*plan, t) <= ward.limits.minDay) continue;
        plan->shift[i][t] = onto_weekend ? kShiftRest : kShiftDay;
        if (RowKeepsRules(*plan, i)) return true;
        plan->shift[i][t] = from;
    }
    return false;
}

// (iii): each nurse's weekend and holiday days off (rest or leave) move
// towards her share of the rest days, ⌊2 × days / 7⌋ × weekend days / days.
void EvenWeekends(Plan* plan) {
    const Ward& ward = *plan->ward;
    for (int32_t i = 0; i < ward.nurses; ++i) {
        for (bool moved = true; moved;) {
            const int32_t offs = WeekendOffs(*plan, i);
            const int32_t gap = WeekendGap(*plan, offs);
            const bool more = WeekendGap(*plan, offs + 1) < gap;
            if (!more && WeekendGap(*plan, offs - 1) >= gap) break;
            moved = SwapRestAcrossWeek(plan, i, more) || TurnWeekendDay(plan, i, more);
        }
    }
}

void PlanFromSearch(const Search& search, Plan* plan) {
    const Ward& ward = *search.ward;
    plan->ward = &ward;
    for (int32_t i = 0; i < ward.nurses; ++i) {
        plan->nights[i] = 0;
        for (int32_t t = 0; t < ward.days; ++t) {
            plan->shift[i][t] = search.pick[t][i];
            plan->nights[i] += search.pick[t][i] == kShiftNight ? 1 : 0;
        }
    }
}

void WritePlan(const Plan& plan, RotaMonth* month) {
    for (int32_t i = 0; i < plan.ward->nurses; ++i)
        for (int32_t t = 0; t < plan.ward->days; ++t)
            if (IsFree(plan, i, t)) month->cell[i][t] = {plan.shift[i][t], false};
}

// Everything the arrangement works in, in one place, so that its size is
// plain to see (it lives on the caller's stack).
struct Workspace {
    Ward ward;
    Search search;
    Plan plan;
    RotaMonth trial;
    MonthCheck check;
};

}  // namespace

ArrangeOutcome ArrangeMonth(RotaMonth* month) {
    ArrangeOutcome outcome = {false, {}};
    Workspace work;
    ReadWard(*month, &work.ward);
    if (FindGivenBreach(*month, work.ward, &work.check, &work.trial, outcome.reason,
                        kArrangeReasonCapacity))
        return outcome;
    work.search.ward = &work.ward;
    if (!FindSkeleton(&work.search, *month, outcome.reason, kArrangeReasonCapacity)) return outcome;
    PlanFromSearch(work.search, &work.plan);
    EvenNights(&work.plan);
    CoverNightsWithSeniors(&work.plan);
    FillDayShifts(&work.plan);
    EvenWeekends(&work.plan);
    work.trial = *month;
    WritePlan(work.plan, &work.trial);
    // The shared checker has the last word: a month it faults is not given.
    CheckMonth(work.trial, &work.check);
    if (work.check.hardCount > 0) {
        FormatBreach(work.trial, work.check.breach[0], outcome.reason, kArrangeReasonCapacity);
        return outcome;
    }
    *month = work.trial;
    outcome.arranged = true;
    return outcome;
}
