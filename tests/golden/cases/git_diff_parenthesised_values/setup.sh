git init -q -b main
git add -A
git commit -qm initial
git checkout -q -b feature
cat > shop/migrations/0002_order_reference.py <<'PY'
from django.db import migrations, models


class Migration(migrations.Migration):
    atomic = (  # the second index is built concurrently
        False
    )

    dependencies = [
        ("shop", "0001_initial"),
    ]

    operations = [
        migrations.AddField("order", "reference", models.CharField(max_length=32, null=(True))),
        migrations.RunSQL(
            sql=(
                "CREATE INDEX shop_order_reference_idx "  # built by hand
                "ON shop_order (reference)"
            ),
            reverse_sql=("DROP INDEX shop_order_reference_idx"),
        ),
        migrations.RunSQL(
            sql=("CREATE INDEX CONCURRENTLY shop_order_placed_idx ON shop_order (placed)"),
            reverse_sql=(migrations.RunSQL.noop),
        ),
    ]
PY
git add -A
git commit -qm "order reference"
