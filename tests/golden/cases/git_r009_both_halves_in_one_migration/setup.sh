git init -q -b main
git add orders
git commit -qm initial
cat > orders/migrations/0002_legacy_code.py <<'PY'
from django.db import migrations


class Migration(migrations.Migration):

    dependencies = [("orders", "0001_initial")]

    operations = [
        migrations.SeparateDatabaseAndState(
            state_operations=[migrations.RemoveField(model_name="order", name="legacy_code")],
            database_operations=[migrations.RunSQL("SELECT 1", migrations.RunSQL.noop)],
        ),
        migrations.SeparateDatabaseAndState(
            database_operations=[
                migrations.RunSQL("ALTER TABLE orders_order DROP COLUMN legacy_code", migrations.RunSQL.noop),
            ],
        ),
        migrations.SeparateDatabaseAndState(
            state_operations=[migrations.RemoveField(model_name="order", name="legacy_code")],
        ),
    ]
PY
git add orders/migrations/0002_legacy_code.py
