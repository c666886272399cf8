# Sourced by the zor-tool shell tests: writes the administration of the norms'
# worked example (Kim-3, 05-03-2011, both subtests finished) into <datamap>/Data.
#   write_example_administration <datamap>
write_example_administration() {
  local folder=$1/Data subtest l item tenths right
  mkdir -p "$folder"
  for subtest in FW FV; do
    if [ $subtest = FW ]; then
      l="Kim-3;FW;meisje;05;11;2002;05;03;2011;De Regenboog;4;A. Bakker;15;7;30;1;30;1;30;0"
    else
      l="Kim-3;FV;meisje;05;11;2002;05;03;2011;De Regenboog;4;A. Bakker;12;7"
    fi
    for item in $(seq 1 12); do
      if [ $subtest = FW ]; then
        tenths=50; right=$((item <= 9))
      else
        tenths=$((item == 12 ? 212 : 208)); right=$((item <= 7))
      fi
      l="$l;$tenths;$right"
    done
    [ $subtest = FW ] && l="$l;6,5" || l="$l;8,5"
    printf '%s\r\n' "$l" >"$folder/Kim-3_05-03-2011_$subtest.$([ $subtest = FW ] && echo wda || echo vda)"
  done
}
