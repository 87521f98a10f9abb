mkdir stillwater.toml
