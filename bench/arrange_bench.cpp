// 按规则排班 on seeded wards of 40 nurses × 31 days with leave, hand-set
// cells and 不排夜班 marks, and the re-check of such a month after one change.
// With --wards=FILE it also writes the wards and the months it arranged as
// JSON, for bench/arrange_mip.py to solve the same wards as a mixed-integer
// model and to measure both months alike (scripts/bench-arrange.sh).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "generators/nursing_rota.h"
#include "month/arrange.h"
#include "month/month_rules.h"
#include "month/rota_month.h"

namespace {

constexpr int32_t kBenchWards = 5;

struct Random {
    uint64_t state;
    uint32_t Next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 33);
    }
    int32_t Below(int32_t bound) { return static_cast<int32_t>(Next() % bound); }
    bool OneIn(int32_t odds) { return Below(odds) == 0; }
};

// A ward as a head nurse brings one: January 2027 (New Year's Day a
// holiday), 14 day shifts and 5 nights a day at least, grades N0 to N4, four
// nurses off nights; a third of the nurses with a block of leave, a few
// single leave days, rest days wished for by hand, a few hand-set day shifts
// and nights.
void MakeBenchWard(uint32_t seed, RotaMonth* month) {
    Random random = {seed * 2654435761ull + 12345};
    *month = RotaMonth{};
    month->first = {2027, 1, 1};
    month->days = 31;
    month->nurses = 40;
    month->limits = {2, 5, 14, 5};
    month->holiday[0] = true;
    for (int32_t i = 0; i < month->nurses; ++i) {
        MonthNurse& nurse = month->nurse[i];
        FormatRotaNurseLabel(i, nurse.name, kNurseNameCapacity);
        nurse.grade = static_cast<int8_t>(random.Below(kMaxGrade + 1));
        nurse.noNights = i % 10 == 9;
        MonthCell* row = month->cell[i];
        for (int32_t t = 0; t < month->days; ++t)
            row[t] = {kShiftRest, false};
        if (random.OneIn(3)) {
            const int32_t start = random.Below(month->days), length = 2 + random.Below(5);
            for (int32_t t = start; t < start + length && t < month->days; ++t)
                row[t] = {kShiftLeave, false};
        }
        for (int32_t t = 0; t < month->days; ++t) {
            if (row[t].shift == kShiftLeave) continue;
            const int32_t roll = random.Below(200);
            const bool after_night = t > 0 && row[t - 1].byHand && row[t - 1].shift == kShiftNight;
            if (roll < 4)
                row[t] = {kShiftLeave, false};
            else if (roll < 10)
                row[t] = {kShiftRest, true};
            else if (roll < 12 && !after_night)
                row[t] = {kShiftDay, true};
            else if (roll < 13 && !nurse.noNights)
                row[t] = {kShiftNight, true};
        }
    }
}

void Arrange(benchmark::State& state) {
    auto ward = std::make_unique<RotaMonth>();
    auto month = std::make_unique<RotaMonth>();
    MakeBenchWard(static_cast<uint32_t>(state.range(0)), ward.get());
    bool arranged = true;
    for (auto _ : state) {
        *month = *ward;
        arranged &= ArrangeMonth(month.get()).arranged;
        benchmark::DoNotOptimize(month->cell[0][0]);
    }
    if (!arranged) state.SkipWithError("the ward was not arranged");
}

// The month window checks the whole month again after each change.
void ReCheck(benchmark::State& state) {
    auto month = std::make_unique<RotaMonth>();
    auto check = std::make_unique<MonthCheck>();
    MakeBenchWard(0, month.get());
    ArrangeMonth(month.get());
    int32_t step = 0;
    for (auto _ : state) {
        const int32_t nurse = step % month->nurses, day = (step / month->nurses) % month->days;
        SetCellByHand(month.get(), nurse, day, step % 2 == 0 ? kShiftRest : kShiftDay);
        CheckMonth(*month, check.get());
        benchmark::DoNotOptimize(check->hardCount);
        ++step;
    }
}

BENCHMARK(Arrange)->DenseRange(0, kBenchWards - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(ReCheck)->Unit(benchmark::kMicrosecond);

void WriteRows(std::FILE* out, const char* name, const RotaMonth& month, bool given_mask) {
    std::fprintf(out, "    \"%s\": [", name);
    for (int32_t i = 0; i < month.nurses; ++i) {
        std::fprintf(out, "%s\"", i == 0 ? "" : ", ");
        for (int32_t t = 0; t < month.days; ++t) {
            const MonthCell cell = month.cell[i][t];
            const bool given = cell.byHand || cell.shift == kShiftLeave;
            std::fputc(given_mask ? (given ? '1' : '0') : "DNRJ"[cell.shift], out);
        }
        std::fputc('"', out);
    }
    std::fprintf(out, "],\n");
}

void WriteFlags(std::FILE* out, const char* name, const int32_t* values, int32_t count) {
    std::fprintf(out, "    \"%s\": [", name);
    for (int32_t k = 0; k < count; ++k)
        std::fprintf(out, "%s%d", k == 0 ? "" : ", ", values[k]);
    std::fprintf(out, "],\n");
}

// The ward, the month arranged from it and the fastest of 20 arrangements.
void WriteWard(std::FILE* out, uint32_t seed, bool last) {
    auto ward = std::make_unique<RotaMonth>();
    auto month = std::make_unique<RotaMonth>();
    MakeBenchWard(seed, ward.get());
    double fastest = 1e9;
    for (int32_t run = 0; run < 20; ++run) {
        *month = *ward;
        const auto start = std::chrono::steady_clock::now();
        ArrangeMonth(month.get());
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        if (took.count() < fastest) fastest = took.count();
    }
    int32_t weekend[kMonthMaxDays], grade[kMonthMaxNurses], no_nights[kMonthMaxNurses];
    for (int32_t t = 0; t < ward->days; ++t)
        weekend[t] = IsWeekendDay(*ward, t) || ward->holiday[t] ? 1 : 0;
    for (int32_t i = 0; i < ward->nurses; ++i) {
        grade[i] = ward->nurse[i].grade;
        no_nights[i] = ward->nurse[i].noNights ? 1 : 0;
    }
    const MonthLimits& limits = ward->limits;
    std::fprintf(out, "  {\n    \"seed\": %u, \"nurses\": %d, \"days\": %d,\n", seed, ward->nurses,
                 ward->days);
    std::fprintf(out,
                 "    \"maxNightRun\": %d, \"maxWorkRun\": %d, \"minDay\": %d, \"minNight\": %d,\n",
                 limits.maxNightRun, limits.maxWorkRun, limits.minDay, limits.minNight);
    WriteFlags(out, "weekend", weekend, ward->days);
    WriteFlags(out, "grade", grade, ward->nurses);
    WriteFlags(out, "noNights", no_nights, ward->nurses);
    WriteRows(out, "cells", *ward, false);
    WriteRows(out, "given", *ward, true);
    WriteRows(out, "arranged", *month, false);
    std::fprintf(out, "    \"arrangeMs\": %.4f\n  }%s\n", fastest, last ? "" : ",");
}

bool WriteWards(const char* path) {
    std::FILE* out = std::fopen(path, "w");
    if (out == nullptr) return false;
    std::fprintf(out, "[\n");
    for (int32_t seed = 0; seed < kBenchWards; ++seed)
        WriteWard(out, static_cast<uint32_t>(seed), seed == kBenchWards - 1);
    std::fprintf(out, "]\n");
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    constexpr char kWardsFlag[] = "--wards=";
    for (int k = 1; k < argc; ++k) {
        if (std::strncmp(argv[k], kWardsFlag, sizeof kWardsFlag - 1) != 0) continue;
        if (!WriteWards(argv[k] + sizeof kWardsFlag - 1)) {
            std::fprintf(stderr, "cannot write %s\n", argv[k] + sizeof kWardsFlag - 1);
            return 1;
        }
        argv[k] = argv[--argc];
        --k;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
