git init -q -b main
git add README.md shop
git commit -qm initial
mv template_0002.py shop/migrations/0002_drop_number_idx.py
# The staged configuration would silence R016: a stillwater.toml that the
# working tree no longer has, and a pyproject.toml whose working-tree copy
# silences R008 instead (both files change beside a migration).
printf 'ignore = ["R016"]\n' >stillwater.toml
printf '[tool.tarn]\nignore = ["R016"]\n' >pyproject.toml
git add shop stillwater.toml pyproject.toml
rm stillwater.toml
printf '[tool.tarn]\nignore = ["R008"]\n' >pyproject.toml
