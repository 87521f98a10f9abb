# The first pattern spells the absolute path and never matches; the second starts with a wildcard.
printf 'exclude = ["%s/shop/migrations/*", "*/billing/migrations/*"]\n' "$PWD" > stillwater.toml
