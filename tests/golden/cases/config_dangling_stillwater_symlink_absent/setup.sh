ln -s config/missing.toml stillwater.toml
