from django.db import migrations


class Migration(migrations.Migration):

    dependencies = [("orders", "0002_remove_order_legacy_code_state")]

    operations = [
        migrations.SeparateDatabaseAndState(
            database_operations=[
                migrations.RunSQL(
                    "ALTER TABLE orders_order DROP COLUMN legacy_code",
                    reverse_sql=migrations.RunSQL.noop,
                ),
            ],
        ),
    ]
