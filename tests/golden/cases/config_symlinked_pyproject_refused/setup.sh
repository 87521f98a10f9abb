ln -s config/pyproject.toml pyproject.toml
