#!/usr/bin/env bash
# What zor-tool report and zor-tool pdf leave on disk when they fail, and how they
# say why.
#   tool_files_test.sh path/to/zor-tool plain
#     failures any user can cause: a PDF name taken by a folder, a missing PDF
#     folder, a pipe named like a report file; and pdf --missing with empty or
#     cut PDFs.
#   tool_files_test.sh path/to/zor-tool disk
#     a full disk (small tmpfs) and read-only folders, in a private mount
#     namespace (mounts made there vanish with it); exits 77 (skipped) when
#     the namespace cannot be made.
set -uo pipefail
tool=$(realpath "$1")
mode=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/example_administration.sh"
key=Kim-3_05-03-2011
report="Kim-3 - 05-03-2011.zrp"
pdf="PDF/ZOR - $key.pdf"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Runs zor-tool with a time limit; sets rc and err (its error output).
run() {
  rc=0
  err=$(timeout 60 "$tool" "$@" 2>&1 >/dev/null) || rc=$?
}
expect_failure() {  # what, text the message must hold
  [ "$rc" -ne 0 ] && [ "$rc" -ne 124 ] || fail "$1: exit status $rc"
  [[ "$err" == *"$2"* ]] || fail "$1: message without \"$2\": $err"
}
expect_only() {  # folder, the entries it must hold (relative, sorted), as one string
  local found
  found=$(cd "$1" && find . -mindepth 1 | sort | tr '\n' '|')
  [ "$found" = "$2" ] || fail "$1 holds: $found, expected: $2"
}

if [ "$mode" = disk ]; then
  if ! unshare -m --propagation private true 2>/dev/null; then
    echo "SKIP: no private mount namespace here (needs root)"
    exit 77
  fi
  exec unshare -m --propagation private bash "$here/tool_files_test.sh" "$tool" disk-in-namespace
fi

scratch=$(mktemp -d /tmp/zor-tool-files.XXXXXX)
# The namespace's mounts go before their folders do.
trap 'cd /; findmnt -rno TARGET | grep "^$scratch/" | sort -r | xargs -r -d "\n" umount -l; rm -rf "$scratch"' EXIT
cd "$scratch"

write_example_administration data
mkdir new old
run report --date 10-12-2026 data "$key" new
[ "$rc" -eq 0 ] || fail "report into an empty folder: $rc $err"
run report --date 09-12-2026 data "$key" old
[ "$rc" -eq 0 ] || fail "report of an earlier day: $rc $err"
report_size=$(stat -c %s "new/$report")

if [ "$mode" = plain ]; then
  # The PDF's name is taken by a folder: the command fails and its report file goes too.
  mkdir -p "taken/$pdf"
  run report --date 10-12-2026 data "$key" taken
  expect_failure "PDF name taken by a folder" "PDF kon niet worden geschreven. Kan bestand"
  expect_only taken "./PDF|./PDF/ZOR - $key.pdf|"

  # A missing PDF folder is named with its reason.
  mkdir lone && cp "new/$report" lone/
  run pdf --date 10-12-2026 "lone/$report"
  expect_failure "PDF folder missing" "De map bestaat niet."
  expect_only lone "./$report|"

  # A pipe named like a report file is refused at once, not read from forever.
  mkfifo pipe.zrp
  run pdf --date 10-12-2026 pipe.zrp out.pdf
  expect_failure "pipe as report file" "geen gewoon bestand"

  # pdf --missing rebuilds empty and cut PDFs and leaves complete ones alone.
  mkdir -p many/PDF
  for name in leeg kort heel; do cp "new/$report" "many/$name - 05-03-2011.zrp"; done
  : >"many/PDF/ZOR - leeg_05-03-2011.pdf"
  head -c 20000 "new/$pdf" >"many/PDF/ZOR - kort_05-03-2011.pdf"
  cp "new/$pdf" "many/PDF/ZOR - heel_05-03-2011.pdf"
  touch -d 2020-01-01 "many/PDF/ZOR - heel_05-03-2011.pdf"
  rc=0
  out=$(timeout 60 "$tool" pdf --date 10-12-2026 --missing many 2>&1) || rc=$?
  [ "$rc" -eq 0 ] || fail "pdf --missing: $rc $out"
  for name in leeg kort; do
    [[ "$out" == *"ZOR - ${name}_05-03-2011.pdf"* ]] || fail "pdf --missing did not rebuild $name: $out"
    cmp -s "many/PDF/ZOR - ${name}_05-03-2011.pdf" "new/$pdf" || fail "$name not rebuilt whole"
  done
  [[ "$out" != *heel* ]] || fail "pdf --missing replaced a complete PDF: $out"
  [ "$(stat -c %Y "many/PDF/ZOR - heel_05-03-2011.pdf")" = "$(date -d 2020-01-01 +%s)" ] ||
    fail "complete PDF touched"
  exit $((failures > 0))
fi

# --- Full disk and read-only folders (in the private mount namespace) -----------
# mount_small folder size: a tmpfs of that size on the folder.
mount_small() { mkdir -p "$1" && mount -t tmpfs -o "size=$2,mode=0755" tmpfs "$1"; }
read_only() { mount --bind "$1" "$1" && mount -o remount,bind,ro "$1"; }

# Nothing fits, or the report file fits and its PDF does not: no new file stays,
# not even the PDF folder the command made.
for size in 32k $(( (report_size + 8192) / 1024 ))k; do
  mount_small "full$size" "$size"
  run report --date 10-12-2026 data "$key" "full$size"
  expect_failure "report on a full disk ($size)" "De schijf is vol."
  expect_only "full$size" ""
done

# Earlier files on a disk with room for little more: they stay as they were.
mount_small fullold $(( (report_size * 2 + 65536) / 1024 ))k
cp -r old/. fullold/
run report --date 10-12-2026 data "$key" fullold
expect_failure "report over earlier files on a full disk" "De schijf is vol."
cmp -s "fullold/$report" "old/$report" || fail "earlier report changed on a full disk"
cmp -s "fullold/$pdf" "old/$pdf" || fail "earlier PDF changed on a full disk"
expect_only fullold "./$report|./PDF|./$pdf|"

mount_small fullpdf 16k
run pdf --date 10-12-2026 "new/$report" fullpdf/out.pdf
expect_failure "pdf on a full disk" "PDF kon niet worden geschreven. Kan bestand"
expect_only fullpdf ""

# A read-only report folder: earlier files stay.
mkdir readonly && cp -r old/. readonly/ && read_only readonly
run report --date 10-12-2026 data "$key" readonly
expect_failure "report into a read-only folder" "De schijf is alleen-lezen."
cmp -s "readonly/$report" "old/$report" || fail "earlier report changed in a read-only folder"
cmp -s "readonly/$pdf" "old/$pdf" || fail "earlier PDF changed in a read-only folder"

# Only the PDF folder is read-only: the command fails and leaves no report file.
mkdir -p pdfreadonly/PDF && read_only pdfreadonly/PDF
run report --date 10-12-2026 data "$key" pdfreadonly
expect_failure "report with a read-only PDF folder" "PDF kon niet worden geschreven."
expect_only pdfreadonly "./PDF|"
exit $((failures > 0))
