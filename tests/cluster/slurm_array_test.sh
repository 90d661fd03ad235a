#!/usr/bin/env bash
# Runs the manual's cluster examples (docs/manual.html, "Runs split across
# machines") as they stand:
#  - the Slurm job-array script, taken from the manual, on a one-node Slurm
#    that this script starts in a private temporary folder (its own munge key
#    and munged, slurm.conf, slurmctld and slurmd, all stopped on exit);
#    a task is cancelled halfway and submitted again, then the whole array;
#    the outputs are compared with those of one run on this machine;
#  - the Kubernetes Indexed Job, checked as YAML (there is no Kubernetes here).
#
#   tests/cluster/slurm_array_test.sh [BUILD_DIR]     (default: build)
#
# Needs the Debian packages slurmctld, slurmd, slurm-client, munge,
# python3-yaml and poppler-utils (scripts/install-deps.sh) and a build of
# quillon and make_demo_faxes. slurmd must run as root: run as another user,
# the script goes on through passwordless sudo, or else prints SKIP and
# exits 77. Any failed check: FAIL lines and exit 1.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd) || exit 1
if [ "$(id -u)" -ne 0 ]; then
  if sudo -n true 2>/dev/null; then exec sudo -n "$0" "$build"; fi
  echo "SKIP: the Slurm cluster test needs root or passwordless sudo"
  exit 77
fi
for tool in munged slurmctld slurmd sbatch squeue scancel scontrol pdftotext pdfimages; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh)"; exit 1; }
done
[ -x "$build/src/quillon" ] && [ -x "$build/tools/make_demo_faxes" ] ||
  { echo "FAIL: $build/src/quillon or $build/tools/make_demo_faxes is not built"; exit 1; }

failures=0
now() { date +%s%N | cut -c1-11; }                    # tenths of a second
since() { local t=$(($(now) - $1)); echo "$((t / 10)).$((t % 10))s"; }
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

tmp=$(mktemp -d /tmp/quillon-slurm.XXXXXX)
chmod 700 "$tmp"
pids=()
stop_all() {
  # Jobs first, while slurmd can still end their steps; then the daemons, then
  # whatever a step left (its processes carry QUILLON_SLURM_TEST, set below).
  if [ ${#pids[@]} -gt 1 ]; then
    scancel --quiet --partition=quillon 2>/dev/null
    for _ in $(seq 60); do [ -z "$(squeue -h -o %i 2>/dev/null)" ] && break; sleep 0.5; done
  fi
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  for pid in "${pids[@]}"; do
    for _ in $(seq 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.25; done
    kill -9 "$pid" 2>/dev/null
  done
  local left=
  for _ in $(seq 40); do
    left=$(grep -lsz "^QUILLON_SLURM_TEST=$tmp\$" /proc/[0-9]*/environ | cut -d/ -f3)
    [ -z "$left" ] && break
    sleep 0.25
  done
  [ -n "$left" ] && kill -9 $left 2>/dev/null
  rm -rf "$tmp"
}
trap stop_all EXIT
trap 'exit 1' INT TERM

# --- A one-node Slurm of its own ---------------------------------------------
mkdir -p "$tmp/munge" "$tmp/slurm/state" "$tmp/slurm/spool" "$tmp/home"
chmod 700 "$tmp/munge"
head -c 1024 /dev/urandom >"$tmp/munge/munge.key"
chmod 400 "$tmp/munge/munge.key"
socket=$tmp/munge/munge.socket
munged -F --force --socket="$socket" --key-file="$tmp/munge/munge.key" --log-file="$tmp/munge/munged.log" \
  --pid-file="$tmp/munge/munged.pid" --seed-file="$tmp/munge/munged.seed" 2>>"$tmp/munge/munged.out" &
pids+=($!)

node=$(hostname -s)
cpus=$(nproc)
memory=$(awk '/MemTotal/ {print int($2 / 1024 * 0.9)}' /proc/meminfo)
read -r ctld_port slurmd_port < <(python3 -c '
import socket
s = [socket.socket() for _ in range(2)]
for x in s: x.bind(("127.0.0.1", 0))
print(*[x.getsockname()[1] for x in s])')
export SLURM_CONF=$tmp/slurm/slurm.conf
cat >"$SLURM_CONF" <<CONF
ClusterName=quillon-test
SlurmctldHost=$node(127.0.0.1)
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$socket
CredType=cred/munge
StateSaveLocation=$tmp/slurm/state
SlurmdSpoolDir=$tmp/slurm/spool/%n
SlurmctldPidFile=$tmp/slurm/slurmctld.pid
SlurmdPidFile=$tmp/slurm/slurmd.pid
SlurmctldLogFile=$tmp/slurm/slurmctld.log
SlurmdLogFile=$tmp/slurm/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
MpiDefault=none
SwitchType=switch/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
AccountingStorageType=accounting_storage/none
JobAcctGatherType=jobacct_gather/none
JobCompType=jobcomp/none
ReturnToService=2
MinJobAge=3600
NodeName=$node NodeAddr=127.0.0.1 CPUs=$cpus RealMemory=$memory State=UNKNOWN
PartitionName=quillon Nodes=$node Default=YES MaxTime=INFINITE State=UP OverSubscribe=FORCE:4
CONF
for _ in $(seq 40); do [ -S "$socket" ] && break; sleep 0.25; done
QUILLON_SLURM_TEST=$tmp slurmctld -D -i -f "$SLURM_CONF" >>"$tmp/slurm/slurmctld.out" 2>&1 &
pids+=($!)
QUILLON_SLURM_TEST=$tmp slurmd -D -f "$SLURM_CONF" >>"$tmp/slurm/slurmd.out" 2>&1 &
pids+=($!)
state=
for _ in $(seq 120); do
  state=$(sinfo -h -n "$node" -o %T 2>/dev/null)
  [ "$state" = idle ] && break
  sleep 0.5
done
if [ "$state" != idle ]; then
  fail "the private Slurm did not start (node state '$state')"
  tail -n 20 "$tmp/munge/munged.log" "$tmp/slurm/"*.log "$tmp/slurm/"*.out 2>/dev/null
  exit 1
fi
pass "a one-node Slurm ($node, $cpus CPUs) runs from $tmp/slurm, munged on $socket"

# --- The archive and a run on this machine alone -----------------------------
export QUILLON_HOME=$tmp/home
quillon=$build/src/quillon
archive=$tmp/archive
faxes=$archive/faxes
"$build/tools/make_demo_faxes" --archive=33 "$faxes" >/dev/null || { fail "make_demo_faxes"; exit 1; }
python3 - "$faxes" <<'PY'
import sys
d = sys.argv[1]
cut = open(f"{d}/2001/fax-100.fxd", "rb").read()                  # cut short
open(f"{d}/2001/fax-100.fxd", "wb").write(cut[:len(cut) * 2 // 3])
flipped = bytearray(open(f"{d}/2002/fax-106.fxr", "rb").read())   # bytes flipped
for i in range(1000, 1008): flipped[i] ^= 0xFF
open(f"{d}/2002/fax-106.fxr", "wb").write(flipped)
open(f"{d}/2003/notes.fxd", "w").write("A note, no fax.\n" * 40)   # Not Fax
open(f"{d}/2004/header-only.fxs", "wb").write(open(f"{d}/2004/fax-103.fxs", "rb").read()[:128])
PY
sources=$(find "$faxes" -type f | wc -l)

start=$(now)
(cd "$archive" && "$quillon" /q /d=faxes /sd=ref /i /kh /ocr /report=ref.jsonl >/dev/null 2>&1)
status=$?
ref_time=$(since "$start")
# The archive is what the checks below expect: damaged pages convert, two files fail.
check "one run on this machine: $sources faxes in $ref_time, exit 1 (two faxes are not faxes), a cut and a damaged page converted" \
  python3 - "$archive/ref.jsonl" "$sources" "$status" <<'PY'
import json, sys
lines = [json.loads(l) for l in open(sys.argv[1])]
status = {l["source"]: l["status"] for l in lines}
states = {l["source"]: [p["state"] for p in l.get("pages", [])] for l in lines}
failed = sorted(s for s, v in status.items() if v != "converted")
sys.exit(not (len(lines) == int(sys.argv[2]) and sys.argv[3] == "1"
              and failed == ["faxes/2003/notes.fxd", "faxes/2004/header-only.fxs"]
              and states["faxes/2001/fax-100.fxd"] == ["cut"] and states["faxes/2002/fax-106.fxr"] == ["damaged"]))
PY

# --- Helpers -------------------------------------------------------------------
# The script of the manual, as it stands there.
manual_block() {
  python3 -c 'import html, re, sys
m = re.search(r"<pre id=\"%s\">(.*?)</pre>" % sys.argv[2], open(sys.argv[1]).read(), re.S)
sys.stdout.write(html.unescape(m.group(1)) if m else "")' "$here/docs/manual.html" "$1"
}
submit_dir=$tmp/submit
mkdir -p "$submit_dir" "$tmp/jobtmp"
manual_block slurm-array-script >"$submit_dir/quillon-array.sh"
grep -q '/shard=\$K/\$N' "$submit_dir/quillon-array.sh" || { fail "no Slurm array script in the manual"; exit 1; }
# sbatch ARCHIVE PARTS ARGS...: the manual's script with its variables; the
# script asks 4 CPUs a task, more than a small machine has: one, and the
# partition lets tasks share CPUs, so that all start at once (Slurm takes a
# second or two to start each wave of tasks).
submit() {
  (cd "$submit_dir" && ARCHIVE=$1 PARTS=$2 PATH=$build/src:$PATH TMPDIR=$tmp/jobtmp QUILLON_SLURM_TEST=$tmp \
    sbatch --parsable --cpus-per-task=1 "${@:3}" quillon-array.sh)
}
wait_job() {
  for _ in $(seq 3000); do [ -z "$(squeue -h -j "$1" -o %i 2>/dev/null)" ] && return 0; sleep 0.2; done
  fail "job $1 still running after 10 minutes"; return 1
}
# "task exit-code state" of each task of a job, from slurmctld's memory (no accounting).
task_codes() {
  scontrol show job "$1" | awk '/ArrayTaskId=/ {match($0, /ArrayTaskId=[0-9]+/); t = substr($0, RSTART + 12, RLENGTH - 12)}
    /JobState=/ {match($0, /JobState=[A-Z_]+/); s = substr($0, RSTART + 9, RLENGTH - 9)}
    /ExitCode=/ {match($0, /ExitCode=[0-9]+/); print t, substr($0, RSTART + 9, RLENGTH - 9), s}' | sort -n
}
# What each task is expected to end with: 1 when its part holds a file that failed.
expected_codes() {
  for k in $(seq "$1"); do
    grep -qv '"status":"converted"' "$archive/reports/part-$k.jsonl" && echo "$k 1" || echo "$k 0"
  done
}
# Outputs only: a file still being written (".NAME.xxxx.part") is not one, and
# a cancelled task removes it as it ends.
outputs_state() { (cd "$archive" && find pdf -type f ! -name '*.part' -printf '%p %i %T@\n' | sort); }
# Every output of an earlier state (path, inode, mtime) is still there, untouched.
outputs_kept() {
  local changed
  changed=$(comm -23 "$1" <(outputs_state))
  [ -z "$changed" ] || { echo "$changed" | head -3 | sed 's/^/  written again or gone: /'; return 1; }
}
log_entries() { cat "$archive"/logs/log-*.txt 2>/dev/null | grep -c '^-\{50\}$'; }
# The results lines of the last log entry of every part: "source<TAB>outcome".
last_results() {
  python3 - "$archive"/logs/log-*.txt <<'PY'
import re, sys
for log in sys.argv[1:]:
    entries = re.split(r"^-{50}\n", open(log).read(), flags=re.M)
    for line in [e for e in entries if e.strip()][-1].splitlines():
        if " --> " in line: print(line.split(" --> ")[0], line.split(" : ", 1)[1], sep="\t")
PY
}
# Every part's report taken together holds one line per source, each file's
# last outcome the same as in the run on this machine, and the outputs hold the
# same page images (Group 4 data, as pdfimages takes them out) and text.
one_line_per_source() {
  python3 - "$archive" <<'PY'
import glob, json, sys
a = sys.argv[1]
ref = sorted(json.loads(l)["source"] for l in open(f"{a}/ref.jsonl"))
got = sorted(json.loads(l)["source"].removeprefix(a + "/") for p in glob.glob(f"{a}/reports/part-*.jsonl") for l in open(p))
if got != ref: print(f"  {len(got)} report lines for {len(ref)} sources;", len(set(got)), "sources named")
sys.exit(got != ref)
PY
}
same_as_reference() {
  python3 - "$archive" <<'PY'
import glob, hashlib, json, os, subprocess, sys, tempfile
a = sys.argv[1]
last = {}
for p in sorted(glob.glob(f"{a}/reports/part-*.jsonl")):
    for l in open(p):
        l = json.loads(l); last[l["source"].removeprefix(a + "/")] = l
def images_and_text(pdf):
    with tempfile.TemporaryDirectory() as d:
        subprocess.run(["pdfimages", "-all", pdf, f"{d}/i"], check=True)
        images = [hashlib.sha256(open(f"{d}/{n}", "rb").read()).hexdigest() for n in sorted(os.listdir(d))]
    return images, subprocess.run(["pdftotext", pdf, "-"], check=True, capture_output=True).stdout
def essentials(l):
    rel = lambda o: os.path.relpath(o, a + "/pdf" if o.startswith(a + "/") else "ref")
    return (l["status"], l.get("reason"), [rel(o) for o in l["outputs"]],
            [(p["index"], p["width"], p["rows"], p["state"], p["sha256"], p.get("words")) for p in l.get("pages", [])])
bad = 0
for r in map(json.loads, open(f"{a}/ref.jsonl")):
    l = last.get(r["source"])
    differs = l is None or essentials(l) != essentials(r) or any(
        images_and_text(o) != images_and_text(f"{a}/{ro}") for o, ro in zip(l["outputs"], r["outputs"]))
    if differs: print("  differs from the run on this machine:", r["source"]); bad += 1
sys.exit(bad > 0)
PY
}
# Each converted file converted once: a Success line in some log entry, or,
# for a file of the cancelled part, an output already there when that task was
# cancelled (that run wrote no entry; the other tasks went on and wrote theirs).
converted_once() {
  python3 - "$archive" "$tmp/at-cancel.txt" "$archive/reports/part-$cancel.jsonl" <<'PY'
import collections, glob, json, sys
a = sys.argv[1]
count = collections.Counter()
for log in glob.glob(f"{a}/logs/log-*.txt"):
    for line in open(log):
        if line.rstrip().endswith(" : Success !"): count[line.split(" --> ")[0].removeprefix(a + "/")] += 1
there = {line.split()[0].removeprefix("pdf/") for line in open(sys.argv[2])}
cancelled_part = {json.loads(l)["source"].removeprefix(a + "/") for l in open(sys.argv[3])}
bad = 0
for r in map(json.loads, open(f"{a}/ref.jsonl")):
    if r["status"] != "converted": continue
    n = count[r["source"]] + (r["source"] in cancelled_part and r["outputs"][0].removeprefix("ref/") in there)
    if n != 1:
        bad += 1
        if bad <= 5: print(f"  {r['source']} converted {n} times")
if bad > 5: print(f"  ... and {bad - 5} more")
sys.exit(bad > 0)
PY
}

# --- The array; one task cancelled halfway and submitted again ------------------
parts=3 cancel=2
mkdir -p "$archive/pdf"
start=$(now)
job=$(submit "$archive" $parts --array=1-$parts) || { fail "sbatch refused the manual's script"; exit 1; }
cancelled=
for _ in $(seq 3000); do
  if [ -s "$archive/reports/part-$cancel.jsonl" ]; then
    [ "$(squeue -h -j "${job}_$cancel" -o %T)" = RUNNING ] && scancel "${job}_$cancel" && cancelled=yes
    break
  fi
  sleep 0.1
done
wait_job "${job}_$cancel"
outputs_state >"$tmp/at-cancel.txt"
lines_at_cancel=$(wc -l <"$archive/reports/part-$cancel.jsonl")
wait_job "$job"
first_tenths=$(($(now) - start)) first_time=$(since "$start")
codes_first=$(task_codes "$job")
start=$(now)
job2=$(submit "$archive" $parts --array=$cancel)
wait_job "$job2"
resume_tenths=$(($(now) - start)) resume_time=$(since "$start")
part_files=$(python3 -c 'import json, sys; print(len({json.loads(l)["source"] for l in open(sys.argv[1])}))' \
  "$archive/reports/part-$cancel.jsonl")

echo "times: one machine $ref_time, the array $first_time (task $cancel cancelled), task $cancel submitted again $resume_time"
check "task $cancel cancelled halfway: its report had $lines_at_cancel of its $part_files files" \
  test "$cancelled" = yes -a "$lines_at_cancel" -ge 1 -a "$lines_at_cancel" -lt "$part_files"
expected=$(expected_codes $parts)
check "the array's tasks end with 0, or 1 where their part holds faxes that failed; task $cancel CANCELLED" \
  test "$(echo "$codes_first" | awk -v k=$cancel '$1 == k {print $1, $3 == "CANCELLED" ? "c" : "x"; next} {print $1, $2}')" = \
  "$(echo "$expected" | awk -v k=$cancel '$1 == k {print $1, "c"; next} {print}')"
check "task $cancel submitted again ends with $(echo "$expected" | awk -v k=$cancel '$1 == k {print $2}')" \
  test "$(task_codes "$job2" | cut -d' ' -f1-2)" = "$(echo "$expected" | grep "^$cancel ")"
check "outputs there when task $cancel was cancelled ($(wc -l <"$tmp/at-cancel.txt")) are not written again" \
  outputs_kept "$tmp/at-cancel.txt"
check "every fax that converts is converted exactly once" converted_once
check "the reports of the parts hold one line per source file ($sources)" one_line_per_source
check "outputs and report lines are those of the run on this machine (pages, text, page fingerprints)" same_as_reference

# --- The whole array submitted again: nothing left to convert ------------------
entries=$(log_entries)
outputs_state >"$tmp/before-rerun.txt"
start=$(now)
job3=$(submit "$archive" $parts --array=1-$parts)
wait_job "$job3"
rerun_tenths=$(($(now) - start)) rerun_time=$(since "$start")
echo "times: the whole array submitted again $rerun_time (the first time, with task $cancel again: $first_time + $resume_time)"
check "the array submitted again: every task wrote its log entry" test "$(log_entries)" -eq $((entries + parts))
check "... every converted fax is 'Skipped : OUTPUT already exist!', the others fail again" \
  python3 - "$archive" <(last_results) <<'PY'
import json, sys
a = sys.argv[1]
outcome = dict(line.rstrip("\n").split("\t") for line in open(sys.argv[2]))
bad = 0
for r in map(json.loads, open(f"{a}/ref.jsonl")):
    got = outcome.get(f"{a}/{r['source']}", "(none)")
    want = f"Skipped : {a}/pdf/{r['outputs'][0].removeprefix('ref/')} already exist!" if r["status"] == "converted" else "Failed : "
    if not got.startswith(want):
        bad += 1
        if bad <= 5: print(f"  {r['source']}: {got}")
if bad > 5: print(f"  ... and {bad - 5} more")
sys.exit(bad > 0)
PY
check "... no output written again" outputs_kept "$tmp/before-rerun.txt"
check "... tasks end as the first time" test "$(task_codes "$job3" | cut -d' ' -f1-2)" = "$expected"
check "... the reports still hold one line per source file" one_line_per_source
check "... and every file's last outcome as converted" same_as_reference
check "... in a small part of the first run's time ($rerun_time: at most a third of $first_time + $resume_time)" \
  test $((rerun_tenths * 3)) -le $((first_tenths + resume_tenths))

# --- A task that cannot do its work ends with 3 ---------------------------------
broken=$tmp/broken
mkdir -p "$broken/faxes" "$broken/reports/part-1.jsonl"   # the report cannot be written: a folder
cp "$faxes/2001/fax-105.fxm" "$broken/faxes/"
job4=$(submit "$broken" 1 --array=1)
wait_job "$job4"
code=$(task_codes "$job4" | cut -d' ' -f2)
check "a task whose report cannot be written ends with 3, to be run again (it ended with $code)" test "$code" = 3

# --- The Kubernetes Indexed Job --------------------------------------------------
manual_block kubernetes-job >"$tmp/job.yaml"
check "the manual's Kubernetes Job is YAML with what an Indexed Job with a pod failure policy needs" \
  python3 - "$tmp/job.yaml" <<'PY'
import sys, yaml
try:
    job = yaml.safe_load(open(sys.argv[1]))
    spec, pod = job["spec"], job["spec"]["template"]["spec"]
    names = [c["name"] for c in pod["containers"]]
    rules = spec["podFailurePolicy"]["rules"]
    ok = (job["apiVersion"] == "batch/v1" and job["kind"] == "Job" and job["metadata"]["name"]
          and spec["completionMode"] == "Indexed" and isinstance(spec["completions"], int) and spec["completions"] > 0
          and isinstance(spec["backoffLimitPerIndex"], int) and pod["restartPolicy"] == "Never"
          and all(c["image"] and c["command"] for c in pod["containers"])
          and any(r["action"] == "FailIndex" for r in rules)
          and all(r["action"] in ("FailJob", "FailIndex", "Ignore", "Count") for r in rules)
          and all(r["onExitCodes"]["containerName"] in names and r["onExitCodes"]["operator"] in ("In", "NotIn")
                  and all(isinstance(v, int) for v in r["onExitCodes"]["values"])
                  for r in rules if "onExitCodes" in r)
          and all("/shard=$K/" + str(spec["completions"]) in " ".join(c.get("args", [])) for c in pod["containers"]))
except (KeyError, TypeError, IndexError, yaml.YAMLError) as e:
    print("  ", repr(e)); ok = False
sys.exit(not ok)
PY
echo "NOTE: the Kubernetes Job is only checked as YAML: there is no Kubernetes here to run it"

if [ "$failures" -gt 0 ]; then echo "FAIL: $failures cluster checks failed"; exit 1; fi
echo "PASS: all cluster checks"
