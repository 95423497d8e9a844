#!/bin/bash
# Instructions per request of the session benchmark's walk, ours and
# net-snmp's, counted by callgrind: a figure that does not move with the load
# of the machine, unlike the benchmark's CPU times.
#
#   bench/snmp_walk_instructions.sh BUILD_DIR [MAX_REPETITIONS]
#
# BUILD_DIR is a release tree with the benchmarks (and libnetsnmp found), e.g.
# build/release. The library path of a request is what the walk loop calls
# besides its printing and its OID comparison: for ours get_bulk and the
# making and freeing of the request's Pdu; for net-snmp's
# snmp_sess_synch_response, snmp_pdu_create, snmp_add_null_var and
# snmp_free_pdu. Both run in one process and share its allocator, so either
# side's count moves a little with the other's pattern of allocations.
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR [MAX_REPETITIONS]}
repetitions=${2:-10}
bench=$build/bin/snmp_session_bench
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
LD_LIBRARY_PATH=$build/bin valgrind --tool=callgrind --callgrind-out-file="$out/callgrind.out" \
  "$bench" --benchmark_filter="BM_WalkVersusNetSnmp/$repetitions/" >"$out/log" 2>&1
grep -m1 '^walk' "$out/log" || true
callgrind_annotate --tree=calling --inclusive=yes --threshold=100 "$out/callgrind.out" 2>/dev/null |
  python3 -c '
import re, sys
blocks = sys.stdin.read().split("\n\n")
def callees(caller):
    for block in blocks:
        lines = block.strip().split("\n")
        head = [l for l in lines if "*  " in l and "[" in l]
        if head and caller in head[0]:
            found = []
            for l in lines[lines.index(head[0]) + 1:]:
                m = re.match(r"\s*([\d,]+) .*>\s+(.*?) \(([\d,]+)x\)", l)
                if m:
                    found.append((int(m.group(1).replace(",", "")), m.group(2), int(m.group(3).replace(",", ""))))
            return found
    sys.exit("callgrind found no call from " + caller)
def per_request(caller, request, parts):
    calls = callees(caller)
    requests = next(c[2] for c in calls if request in c[1])
    cost = sum(c[0] for c in calls if any(p in c[1] for p in parts))
    return cost / requests, requests
ours, n = per_request("(anonymous namespace)::walk(Snmp&, SnmpTarget&, int)", "Snmp::get_bulk",
                      ["Snmp::get_bulk", "Pdu::~Pdu", "Pdu::Pdu()", "Pdu::operator+=", "Vb::Vb(Oid", "Vb::~Vb"])
theirs, m = per_request("NetSnmpClient::Walk(int)", "snmp_sess_synch_response",
                        ["snmp_sess_synch_response", "snmp_free_pdu", "snmp_add_null_var", "snmp_pdu_create"])
print(f"instructions per request: ours {ours:,.0f} ({n} requests), net-snmp {theirs:,.0f} ({m} requests),"
      f" ratio {ours / theirs:.2f}")
'
