#!/usr/bin/env bash
# A design study as a Slurm job array: each task computes one part on the
# cores of its node; when all are done, join the parts in order:
#   sbatch examples/study-slurm.sh
#   cat study-part-{1..16}.csv > study.csv
#SBATCH --job-name=latcap-study
#SBATCH --array=1-16
#SBATCH --cpus-per-task=8
#SBATCH --output=study-part-%a.csv
#SBATCH --error=study-part-%a.err
set -euo pipefail
latcap-batch calc-l examples/sign-post-sand.case \
  --vary "H=1:20:0.001" --vary "layer 1.phi=28:36:2" \
  --jobs "${SLURM_CPUS_PER_TASK}" --shard "${SLURM_ARRAY_TASK_ID}/${SLURM_ARRAY_TASK_COUNT}"
