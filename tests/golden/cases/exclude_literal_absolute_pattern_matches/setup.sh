# The first pattern spells the absolute path, the second starts with a wildcard: both exclude.
printf 'exclude = ["%s/shop/migrations/*", "*/billing/migrations/*"]\n' "$PWD" > stillwater.toml
