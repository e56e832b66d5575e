#!/bin/sh
# The recipe of "Scripts and pipelines": GNU parallel hands a list of photos
# to several hosts in chunks. The hosts are simulated on this machine:
# parallel's --ssh names a script that runs the command here, with a runtime
# folder (and so a single-instance lock) of the host's own. Host h2's jpg2dds
# is killed with SIGKILL after it has written two files, and h2 refuses
# every job after that. The first run has no retries, so h2's job stays
# failed; --resume-failed with the same joblog then finishes it on the other
# hosts. In the end every photo is converted exactly once: each texture
# written once and valid, every photo in the final reports once, converted
# or skipped.
#
# Usage: parallel_recipe_test.sh JPG2DDS PYTHON3 READ_REPORT_PY STALL_AFTER_RENAMES_SO
set -eu
jpg2dds=$1 python=$2 read_report=$3 stall=$4
for tool in parallel cjpeg "$python"; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

# 24 photos of 256 x 256 noise, a chunk of 8 for each host; the textures go
# into a folder with a blank in its name.
mkdir tiles "the textures" reports bin doomed-bin run
for i in $(seq 10 33); do
  { printf 'P6\n256 256\n255\n'; head -c 196608 /dev/urandom; } | cjpeg -quality 90 >"tiles/tile$i.jpg"
done
find tiles -name '*.jpg' | sort >list
printf '1/h1\n1/h2\n1/h3\n' >hosts
ln -s "$jpg2dds" bin/jpg2dds

# h2's jpg2dds stops for good before it renames its third texture into
# place, so its report holds two lines when it is killed; then h2 is down.
cat >doomed-bin/jpg2dds <<EOF
#!/bin/sh
for a; do case \$a in --report=*) report=\${a#--report=} ;; esac; done
exec 3<&0
LD_PRELOAD=$stall STALL_AFTER_RENAMES=2 ASAN_OPTIONS=\${ASAN_OPTIONS-}:verify_asan_link_order=0 \\
  "$jpg2dds" "\$@" <&3 3<&- &
pid=\$!
until [ -f "\$report" ] && [ "\$(wc -l <"\$report")" -ge 2 ]; do
  kill -0 \$pid 2>/dev/null || break
  sleep 0.01
done
kill -KILL \$pid 2>/dev/null && touch "$work/down-h2"
wait \$pid || { status=\$?; cp "\$report" "$work/killed.jsonl"; exit \$status; }
EOF
# ssh as parallel calls it: options, the host, "--", the command for its shell.
# Like sshd it sets SHELL: parallel's worker runs each job with $SHELL, and
# where the test runs without one (as CI does) no job would run at all.
cat >fake-ssh <<EOF
#!/bin/sh
while [ \$# -gt 0 ]; do
  case \$1 in -[bcDEeFIiJLlmOopQRSWw]) shift 2 ;; -*) shift ;; *) break ;; esac
done
host=\$1 bin=$work/bin
shift
[ "\${1-}" = -- ] && shift
[ -e "$work/down-\$host" ] && exit 255
[ "\$host" = h2 ] && bin=$work/doomed-bin
mkdir -p "$work/run/\$host"
SHELL=/bin/sh XDG_RUNTIME_DIR=$work/run/\$host PATH=\$bin:\$PATH exec sh -c "\$*"
EOF
chmod +x doomed-bin/jpg2dds fake-ssh

recipe() {
  parallel --quote --pipe -N 8 --sshloginfile hosts --ssh "$work/fake-ssh" --joblog jobs.log "$@" \
    jpg2dds --input-list=- -o "$work/the textures" --skip-up-to-date --exit-code --report="$work/reports/{#}.jsonl" -q \
    <list
}
textures() { ls -i "the textures" | grep ' tile' | sort -k2; }

if recipe; then cat jobs.log >&2; fail "the first run had no failed job"; fi
[ -e down-h2 ] || fail "h2's jpg2dds ended before it was killed"
# What the kill left: whole lines of converted files, and no summary.
"$python" "$read_report" killed.jsonl >killed.rows || fail "the killed job's report is not whole lines"
cut -f3 killed.rows | grep -qvx converted && fail "the killed job's report holds more than converted files"
textures >before
recipe --resume-failed --retries 2 || fail "--resume-failed did not finish the job"

# Every texture written once (those of the first run are the same files)...
textures >after
join -1 2 -2 2 before after | awk '$2 != $3 { exit 1 }' || fail "a texture of the first run was written again"
[ "$(wc -l <after)" -eq 24 ] || fail "$(wc -l <after) textures for 24 photos"
for texture in "the textures"/tile*.dds; do
  [ "$(head -c 4 "$texture")" = "DDS " ] && [ "$(wc -c <"$texture")" -gt 128 ] || fail "$texture is no DDS file"
done
# ...and every photo in the final reports once, converted or skipped, those
# that the killed job reported as written skipped.
"$python" "$read_report" reports/*.jsonl >rows || fail "a final report is not whole JSON lines"
grep -v '^summary' rows | cut -f1 | sort | cmp -s list - || fail "the reports do not cover every photo once"
awk -F '\t' '$1 != "summary" && $3 != "converted" && $3 != "skipped" { exit 1 }' rows || fail "a photo failed"
[ "$(grep -c '^summary' rows)" -eq 3 ] || fail "not every chunk's report has its summary"
cut -f1 killed.rows | while read -r photo; do
  grep -q "^$photo	[^	]*	skipped	" rows || fail "$photo was converted again"
done
echo "24 photos in 3 chunks; $(wc -l <killed.rows) reported before the kill, skipped when their chunk ran again"
