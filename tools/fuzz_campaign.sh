#!/usr/bin/env bash
# fuzz_campaign.sh -- a long fuzz run of one target in the background, niced.
#   tools/fuzz_campaign.sh TARGET runs N     # N executions (for instance 10000000)
#   tools/fuzz_campaign.sh TARGET minutes T  # T minutes
#   tools/fuzz_campaign.sh status            # totals so far, per target
# The corpus grows in build-fuzz/corpus/TARGET, so each campaign goes on from
# where the last one stopped; crash inputs land in build-fuzz/artifacts/. Each
# finished run appends its executions, coverage and result to
# build-fuzz/campaigns.tsv, whose totals `status` prints; a run stopped with
# SIGINT (kill -INT) counts its executions and is marked "stopped". The run's log is
# build-fuzz/campaign-TARGET.log; the command prints the background pid. A
# second campaign of a running target (one per core) shares its corpus and
# logs to campaign-TARGET-2.log, a third to -3, and so on.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/fuzz_env.sh
tally=build-fuzz/campaigns.tsv

if [[ ${1:-} == status ]]; then
  [[ -f $tally ]] || { echo "no campaign has finished yet"; exit 0; }
  awk -F'\t' '{ runs[$2] += $4; secs[$2] += $5; cov[$2] = $6; ft[$2] = $7; if ($8 == "failed") bad[$2]++ }
    END { for (t in runs) printf "%-20s %12d executions in %7.1f h, cov %s ft %s, %d failed runs\n",
                                 t, runs[t], secs[t] / 3600, cov[t], ft[t], bad[t] }' "$tally" | sort
  exit 0
fi
if [[ $# -ne 3 || ( $2 != runs && $2 != minutes ) ]]; then
  echo "usage: $0 TARGET runs N | TARGET minutes T | status" >&2
  exit 2
fi
name=$1
if [[ $2 == runs ]]; then limit="-runs=$3"; else limit="-max_total_time=$(($3 * 60))"; fi
[[ -x build-fuzz/bin/$name ]] || { nice -n 19 bash -c "source tools/fuzz_env.sh; fuzz_build" ; }
[[ -x build-fuzz/bin/$name ]] || { echo "no fuzz target $name" >&2; exit 2; }
[[ -d build-fuzz/seeds/$name ]] || fuzz_seeds
mkdir -p "build-fuzz/corpus/$name" build-fuzz/artifacts
# Each running campaign holds a lock on its log, so the next one takes a free log.
log=build-fuzz/campaign-$name.log
worker=1
exec 9>"$log.lock"
while ! flock -n 9; do
  ((++worker <= 9)) || { echo "nine campaigns of $name are running already" >&2; exit 2; }
  log=build-fuzz/campaign-$name-$worker.log
  exec 9>"$log.lock"
done
(
  started=$SECONDS
  result=ok
  # shellcheck disable=SC2046
  nice -n 19 "build-fuzz/bin/$name" $limit $(fuzz_flags "$name") \
    "build-fuzz/corpus/$name" "build-fuzz/seeds/$name" >"$log" 2>&1 || result=failed
  # Stopped by hand (SIGINT) is not a finding; a crash leaves its input in artifacts/.
  grep -q "libFuzzer: run interrupted" "$log" && result=stopped
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u +%FT%TZ)" "$name" "$limit" "${runs:-0}" \
    "$((SECONDS - started))" "${cov:-?}" "${ft:-?}" "$result" >>"$tally"
) </dev/null >/dev/null 2>&1 &
exec 9>&-
echo "campaign $name ($limit) running as pid $!, log $log"
