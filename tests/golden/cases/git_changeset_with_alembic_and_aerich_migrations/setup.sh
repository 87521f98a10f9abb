git init -q -b main
git add README.md alembic
git commit -qm initial
git checkout -q -b feature
mkdir -p alembic/versions migrations/models
mv new_alembic.py alembic/versions/1a2b3c4d5e6f_orders_index.py
mv new_aerich.py migrations/models/3_20240110120000_update.py
echo "More." >> README.md
echo "# env" >> alembic/env.py
git add -A
git commit -qm "feature"
