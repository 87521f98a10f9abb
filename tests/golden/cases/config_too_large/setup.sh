{ printf 'select = ["R001"]\n'; head -c $((1048577 - 18)) /dev/zero | tr '\0' '#'; } > stillwater.toml
{ printf '[tool.tarn]\nselect = ["R001"]\n'; head -c $((1048576 - 30)) /dev/zero | tr '\0' '#'; } > pyproject.toml
test "$(wc -c < stillwater.toml)" = 1048577
test "$(wc -c < pyproject.toml)" = 1048576
