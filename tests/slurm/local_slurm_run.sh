#!/usr/bin/env bash
# A real Slurm run of the job array on this machine: installs slurm-wlm and munge from Debian when
# they are missing, starts munged, slurmctld and slurmd as a one-node cluster with a configuration of
# its own (under a scratch folder; /etc/slurm is not touched), simulates a small map, submits
# examples/orvanthel_array.sbatch as an array of shards, waits, merges, and checks the merged summary
# against a batch of the same patterns on this machine alone. Everything it started is stopped when
# it ends. Run from the repository after `make build`:  bash tests/slurm/local_slurm_run.sh
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$repo/build}
patterns=${SLURM_TEST_PATTERNS:-12}
shards=${SLURM_TEST_SHARDS:-4}

if ! command -v slurmctld >/dev/null || ! command -v munged >/dev/null; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq slurm-wlm munge
fi

work=$(mktemp -d /tmp/orvanthel-slurm.XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  sleep 1
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# munge: a key of our own, a socket in the scratch folder.
mkdir -p "$work/munge"
dd if=/dev/urandom bs=1 count=1024 of="$work/munge/munge.key" status=none
chmod 711 "$work/munge"; chmod 400 "$work/munge/munge.key"
socket="$work/munge/munge.socket"
munged --foreground --force --key-file="$work/munge/munge.key" --socket="$socket" \
       --pid-file="$work/munge/munged.pid" --log-file="$work/munge/munged.log" --seed-file="$work/munge/seed" 2> "$work/munge/munged.err" &
pids+=($!)
for _ in $(seq 50); do [ -S "$socket" ] && break; sleep 0.1; done

# A one-node cluster on this host, every daemon as the current user.
node=$(hostname -s)
cpus=$(nproc)
memory=$(( $(awk '/MemTotal/ {print $2}' /proc/meminfo) / 1024 / 2 ))
me=$(id -un)
mkdir -p "$work/state" "$work/spool" "$work/log"
cat > "$work/slurm.conf" <<CONF
ClusterName=orvanthel-test
SlurmctldHost=$node
SlurmUser=$me
SlurmdUser=$me
SlurmctldPort=${SLURM_TEST_PORT:-16817}
SlurmdPort=$(( ${SLURM_TEST_PORT:-16817} + 1 ))
AuthType=auth/munge
AuthInfo=socket=$socket
CredType=cred/munge
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/log/slurmctld.log
SlurmdLogFile=$work/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
MpiDefault=none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
NodeName=$node CPUs=$cpus RealMemory=$memory State=UNKNOWN
PartitionName=test Nodes=$node Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF="$work/slurm.conf"
slurmctld -D -i -f "$SLURM_CONF" > "$work/log/slurmctld.out" 2>&1 &
pids+=($!)
slurmd -D -f "$SLURM_CONF" > "$work/log/slurmd.out" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  sinfo -h -o '%T' 2>/dev/null | grep -q -E '^(idle|mixed|allocated)' && break
  sleep 0.2
done
if ! sinfo -h -o '%T' | grep -q -E '^(idle|mixed|allocated)'; then
  echo "The one-node Slurm did not come up:"; sinfo || true; tail -n 20 "$work"/log/*; exit 1
fi

# A small map: simulated patterns of a few crystals, indexed alone and under Slurm.
mkdir -p "$work/alone" "$work/slurm"
for i in $(seq 1 "$patterns"); do
  name=$(printf 'point_%03d.kqt' "$i")
  "$build/orvanthel-simulate" --cell 4.05,4.05,4.05,90,90,90 --centring F --seed "$i" --spots 40 \
    --noise 0.01 --angular-deviation 0.2 --output "$work/alone/$name" > /dev/null
  cp "$work/alone/$name" "$work/slurm/$name"
  echo "$name" >> "$work/alone/patterns.txt"
done
cp "$work/alone/patterns.txt" "$work/slurm/patterns.txt"
(cd "$work/alone" && "$build/orvanthel" --batch patterns.txt --workers 1 > batch.out 2>&1 < /dev/null)

started=$(date +%s)
(cd "$work/slurm" && ORVANTHEL="$build/orvanthel" sbatch --wait --parsable --array=0-$((shards - 1)) \
   --cpus-per-task=1 --time=10 "$repo/examples/orvanthel_array.sbatch" patterns.txt > sbatch.out)
(cd "$work/slurm" && "$build/orvanthel" --batch patterns.txt --merge > merge.out 2>&1 < /dev/null)
echo "Slurm array of $shards shards over $patterns patterns: $(( $(date +%s) - started )) s"

# The merged summary holds the single machine's rows; the seconds column is the only one that may differ.
strip_seconds() { python3 -c '
import csv, sys
rows = list(csv.reader(open(sys.argv[1], newline="")))
column = rows[0].index("seconds")
for row in sorted(rows[1:]):
    del row[column]
    print(",".join(row))' "$1"; }
if ! diff <(strip_seconds "$work/alone/batch_summary.csv") <(strip_seconds "$work/slurm/batch_summary.csv"); then
  echo "The merged Slurm summary differs from the single-machine batch."; exit 1
fi
shard_files=$(ls "$work/slurm"/batch_summary.shard-*-of-"$shards".csv | wc -l)
[ "$shard_files" -eq "$shards" ] || { echo "expected $shards shard summaries, found $shard_files"; exit 1; }
echo "Slurm run: the merged summary of $shards shards equals the single-machine batch ($patterns patterns)."

# A map under Slurm: the same array in map mode (shards take whole tiles of the map), merged, must
# write the single machine's map files byte for byte.
map_columns=${SLURM_TEST_MAP_COLUMNS:-30}
map_rows=${SLURM_TEST_MAP_ROWS:-10}
mkdir -p "$work/map-alone" "$work/map-slurm"
(cd "$work/map-alone" && "$build/orvanthel-simulate-map" --out m --columns "$map_columns" --rows "$map_rows" \
   --grains 2 > /dev/null)
cp -r "$work/map-alone/m" "$work/map-slurm/m"
map_options=(--map m/positions.csv --reference-cell 5.658,5.658,5.658,90,90,90)
(cd "$work/map-alone" && "$build/orvanthel" --batch m/list.txt "${map_options[@]}" --workers 1 > map.out 2>&1 < /dev/null)
started=$(date +%s)
(cd "$work/map-slurm" && ORVANTHEL="$build/orvanthel" sbatch --wait --parsable --array=0-$((shards - 1)) \
   --cpus-per-task=1 --time=10 "$repo/examples/orvanthel_array.sbatch" m/list.txt "${map_options[@]}" > sbatch.out)
(cd "$work/map-slurm" && "$build/orvanthel" --batch m/list.txt "${map_options[@]}" --merge > merge.out 2>&1 < /dev/null)
echo "Slurm array of $shards shards over a map of $map_columns x $map_rows points: $(( $(date +%s) - started )) s"
for file in map_points.csv map_summary.csv map_grains.csv map_orientation.svg map_strain.svg; do
  if ! cmp -s "$work/map-alone/$file" "$work/map-slurm/$file"; then
    echo "The merged Slurm map's $file differs from the single-machine map."; cat "$work/map-slurm/merge.out"; exit 1
  fi
done
echo "Slurm run: the merged map of $shards shards equals the single-machine map, file for file."
