#!/usr/bin/python3
"""The reference for 按规则排班: the same wards, the same hard rules and the
same objective as a mixed-integer model solved by CBC (Debian's coinor-cbc,
through python3-pulp), and both months measured by one function here.

    arrange_mip.py WARDS.json BENCH.json [TIME_LIMIT_S]

WARDS.json comes from `tavomed_arrange_bench --wards=...` (the wards, the
months the program arranged and its fastest time of 20), BENCH.json from the
same binary's --benchmark_out (medians of the arrangement per ward). Prints
the side-by-side table of docs/PERFORMANCE.md. CBC's months and times are
kept in WARDS.json's folder (arrange-mip.json) by the ward's content and the
time limit, and taken from there while the wards stay the same (MIP_FRESH=1
solves them again), so that the program's side can be measured again in
seconds.

The objective, smaller is better, weighs the month's qualities in their order
(i) the nights spread evenly: the sum of squares of the night counts of the
    nurses who take nights (the total is fixed by the minimums, so the
    smallest sum is the most even spread);
(ii) rest days: the days below ⌊2 × days / 7⌋ rest days (R), summed;
(iii) weekend days off spread: the sum over nurses of how far her weekend and
    holiday days off (R or 假) are from ⌊2 × days / 7⌋ × weekend days / days;
(iv) nights without a nurse of N2 or above;
(v) rest days beyond the target (each one a day shift fewer);
with the weights below. Both months take exactly max(夜班每日最少, hand-set
nights) nights a day and at least 白班每日最少 day shifts.
"""
import hashlib
import json
import os
import sys
import time

import pulp

WEIGHTS = {"nights": 1000, "short": 100, "weekend": 10, "cover": 5, "extra": 1}
SENIOR = 2


def runs(row, letters):
    """Lengths of the runs of the given letters in a row."""
    out, length = [], 0
    for c in row + "-":
        if c in letters:
            length += 1
        elif length:
            out.append(length)
            length = 0
    return out


def measure(ward, rows):
    n, d = ward["nurses"], ward["days"]
    target = 2 * d // 7
    weekend = ward["weekend"]
    share = target * sum(weekend) / d
    hard = 0
    for i, row in enumerate(rows):
        hard += sum(1 for t in range(d - 1) if row[t] == "N" and row[t + 1] == "D")
        hard += sum(1 for r in runs(row, "N") if r > ward["maxNightRun"])
        hard += row.count("N") if ward["noNights"][i] else 0
        hard += sum(1 for r in runs(row, "DN") if r > ward["maxWorkRun"])
    for t in range(d):
        column = [row[t] for row in rows]
        hard += (column.count("D") < ward["minDay"]) + (column.count("N") < ward["minNight"])
    takers = [i for i in range(n) if not ward["noNights"][i]]
    nights = [rows[i].count("N") for i in takers]
    rests = [row.count("R") for row in rows]
    offs = [sum(1 for t in range(d) if weekend[t] and row[t] in "RJ") for row in rows]
    graded = any(g >= 0 for g in ward["grade"])
    uncovered = sum(
        1
        for t in range(d)
        if graded
        and any(row[t] == "N" for row in rows)
        and not any(rows[i][t] == "N" and ward["grade"][i] >= SENIOR for i in range(n))
    )
    parts = {
        "nights": sum(c * c for c in nights),
        "short": sum(max(0, target - r) for r in rests),
        "weekend": sum(abs(o - share) for o in offs),
        "cover": uncovered,
        "extra": sum(max(0, r - target) for r in rests),
    }
    return {
        "hard": hard,
        "night_spread": max(nights) - min(nights),
        "nights": f"{min(nights)}–{max(nights)}",
        "rests": f"{min(rests)}–{max(rests)}",
        "short": sum(1 for r in rests if r < target),
        "weekend_spread": max(offs) - min(offs),
        "weekend_dev": parts["weekend"],
        "uncovered": uncovered,
        "day_shifts": sum(row.count("D") for row in rows),
        "objective": sum(WEIGHTS[k] * v for k, v in parts.items()),
    }


def solve(ward, time_limit):
    n, d = ward["nurses"], ward["days"]
    cells, given = ward["cells"], ward["given"]
    target = 2 * d // 7
    weekend = ward["weekend"]
    share = target * sum(weekend) / d
    prob = pulp.LpProblem("ward", pulp.LpMinimize)
    x = {}

    def on(i, t, s):
        """The cell's shift s as 0/1: a constant for given cells."""
        if given[i][t] == "1":
            return 1 if cells[i][t] == s else 0
        return x.get((i, t, s), 0)

    for i in range(n):
        for t in range(d):
            if given[i][t] == "1":
                continue
            shifts = "DR" if ward["noNights"][i] else "DNR"
            for s in shifts:
                x[i, t, s] = pulp.LpVariable(f"x_{i}_{t}_{s}", cat="Binary")
            prob += pulp.lpSum(x[i, t, s] for s in shifts) == 1

    def work(i, t):
        return on(i, t, "D") + on(i, t, "N")

    nr, wr = ward["maxNightRun"], ward["maxWorkRun"]
    for i in range(n):
        for t in range(d - 1):
            prob += on(i, t, "N") + on(i, t + 1, "D") <= 1
        for t in range(d - nr):
            prob += pulp.lpSum(on(i, t + k, "N") for k in range(nr + 1)) <= nr
        for t in range(d - wr):
            prob += pulp.lpSum(work(i, t + k) for k in range(wr + 1)) <= wr
    for t in range(d):
        given_nights = sum(1 for i in range(n) if given[i][t] == "1" and cells[i][t] == "N")
        prob += pulp.lpSum(on(i, t, "D") for i in range(n)) >= ward["minDay"]
        prob += pulp.lpSum(on(i, t, "N") for i in range(n)) == max(ward["minNight"], given_nights)

    objective = []
    for i in range(n):
        if not ward["noNights"][i]:
            # The square of the night count, piece by piece: the k-th night costs 2k - 1.
            top = sum(1 for t in range(d) if not isinstance(on(i, t, "N"), int) or on(i, t, "N"))
            steps = [pulp.LpVariable(f"z_{i}_{k}", 0, 1) for k in range(1, top + 1)]
            prob += pulp.lpSum(on(i, t, "N") for t in range(d)) == pulp.lpSum(steps)
            objective += [WEIGHTS["nights"] * (2 * k + 1) * z for k, z in enumerate(steps)]
        rests = pulp.lpSum(on(i, t, "R") for t in range(d))
        short = pulp.LpVariable(f"short_{i}", 0)
        extra = pulp.LpVariable(f"extra_{i}", 0)
        prob += short >= target - rests
        prob += extra >= rests - target
        offs = pulp.lpSum(on(i, t, "R") + on(i, t, "J") for t in range(d) if weekend[t])
        dev = pulp.LpVariable(f"dev_{i}", 0)
        prob += dev >= offs - share
        prob += dev >= share - offs
        objective += [WEIGHTS["short"] * short, WEIGHTS["extra"] * extra, WEIGHTS["weekend"] * dev]
    if any(g >= 0 for g in ward["grade"]):
        for t in range(d):
            gap = pulp.LpVariable(f"uncovered_{t}", 0)
            seniors = [i for i in range(n) if ward["grade"][i] >= SENIOR]
            prob += gap >= 1 - pulp.lpSum(on(i, t, "N") for i in seniors)
            objective.append(WEIGHTS["cover"] * gap)
    prob += pulp.lpSum(objective)

    solver = pulp.COIN_CMD(path="/usr/bin/cbc", msg=False, timeLimit=time_limit, threads=2)
    start = time.perf_counter()
    prob.solve(solver)
    seconds = time.perf_counter() - start
    if prob.sol_status not in (pulp.LpSolutionOptimal, pulp.LpSolutionIntegerFeasible):
        return None, seconds, pulp.LpStatus[prob.status]
    rows = []
    for i in range(n):
        row = ""
        for t in range(d):
            if given[i][t] == "1":
                row += cells[i][t]
            else:
                row += next(s for s in "DNR" if (i, t, s) in x and x[i, t, s].value() > 0.5)
        rows.append(row)
    proven = prob.sol_status == pulp.LpSolutionOptimal
    return rows, seconds, "optimal" if proven else f"stopped at {time_limit} s"


def solve_kept(ward, time_limit, kept):
    """solve(), or its answer kept from an earlier run on the same ward."""
    content = {k: v for k, v in ward.items() if k not in ("arranged", "arrangeMs")}
    key = hashlib.sha256(json.dumps([content, time_limit], sort_keys=True).encode()).hexdigest()
    if key not in kept or os.environ.get("MIP_FRESH") == "1":
        rows, seconds, status = solve(ward, time_limit)
        kept[key] = {"rows": rows, "seconds": seconds, "status": status,
                     "when": time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime())}
    entry = kept[key]
    return entry["rows"], entry["seconds"], entry["status"], entry["when"]


def main():
    wards = json.load(open(sys.argv[1]))
    kept_path = os.path.join(os.path.dirname(os.path.abspath(sys.argv[1])), "arrange-mip.json")
    kept = json.load(open(kept_path)) if os.path.exists(kept_path) else {}
    bench = json.load(open(sys.argv[2]))
    time_limit = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    medians = [b for b in bench["benchmarks"] if b.get("aggregate_name") == "median"]
    unit = {"ns": 1e-6, "us": 1e-3, "ms": 1.0}
    median = {b["run_name"]: b["real_time"] * unit[b["time_unit"]] for b in medians}
    median_cpu = {b["run_name"]: b["cpu_time"] * unit[b["time_unit"]] for b in medians}
    print(
        "| Ward | Solver | Time | MIP / ours | Hard breaches | Night spread (min–max) "
        "| Rest days (min–max), nurses below 8 | Weekend days off spread (Σ dev) "
        "| Nights without N2+ | Day shifts | Objective |"
    )
    print("|---|---|---:|---:|---:|---|---|---|---:|---:|---:|")
    ok = True
    solved_at = set()
    for ward in wards:
        ours_ms = median.get(f"Arrange/{ward['seed']}", ward["arrangeMs"])
        ours_cpu = median_cpu.get(f"Arrange/{ward['seed']}", ours_ms)
        mip_rows, mip_s, status, when = solve_kept(ward, time_limit, kept)
        json.dump(kept, open(kept_path, "w"), indent=1)
        solved_at.add(when)
        ours = measure(ward, ward["arranged"])
        lines = [("按规则排班", f"{ours_ms:.2f} ms (CPU {ours_cpu:.2f} ms)", "", ours)]
        if mip_rows is None:
            lines.append((f"CBC ({status})", f"{mip_s:.1f} s", "", None))
        else:
            mip = measure(ward, mip_rows)
            ratio = mip_s * 1000 / ours_ms
            ok &= ratio >= 20 and ours["hard"] == 0 and ours["night_spread"] <= mip["night_spread"]
            lines.append((f"CBC ({status})", f"{mip_s:.2f} s", f"{ratio:.0f}x", mip))
        ok &= ours_ms <= 50
        for solver, took, ratio, m in lines:
            if m is None:
                print(f"| {ward['seed']} | {solver} | {took} | | | | | | | | |")
                continue
            print(
                f"| {ward['seed']} | {solver} | {took} | {ratio} | {m['hard']} "
                f"| {m['night_spread']} ({m['nights']}) | {m['rests']}, {m['short']} "
                f"| {m['weekend_spread']} ({m['weekend_dev']:.1f}) | {m['uncovered']} "
                f"| {m['day_shifts']} | {m['objective']:.0f} |"
            )
    print(f"\nCBC solved these wards at {', '.join(sorted(solved_at))} (limit {time_limit} s a ward).")
    recheck = median.get("ReCheck")
    if recheck is not None:
        print(
            f"\nRe-check of a 40 × 31 month after one change (CheckMonth): {recheck * 1000:.1f} µs "
            f"(CPU {median_cpu['ReCheck'] * 1000:.1f} µs)"
        )
    print("\nAll goals met." if ok else "\nGOALS MISSED (see above).")


if __name__ == "__main__":
    main()
