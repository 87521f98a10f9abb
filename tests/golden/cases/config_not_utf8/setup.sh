printf '# caf\xe9\nselect = ["R001"]\n' > stillwater.toml
