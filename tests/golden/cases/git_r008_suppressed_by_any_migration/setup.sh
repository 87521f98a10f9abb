git init -q -b main
git add README.md shop docs src
git commit -qm initial
git checkout -q -b feature
cat > shop/migrations/0002_note.py <<'PY'
# tarn: ignore R008
from django.db import migrations


class Migration(migrations.Migration):
    dependencies = [("shop", "0001_initial")]
    operations = []
PY
cp template_0002.py shop/migrations/0003_drop_number_idx.py
rm template_0002.py
echo "More." >> README.md
git add -A
git commit -qm "feature"
