from django.db import migrations, models
from django.db.migrations import AddIndex

INDEX_SQL = "CREATE INDEX shop_order_a_idx ON shop_order (a)"
PAIR_SQL = [("CREATE INDEX shop_order_b_idx ON shop_order (b)", None)]
SQL_FROM_CALL = build_sql()
TABLE = "order"
DB_OPS = [
    migrations.RemoveIndex(model_name="order", name="shop_order_c_idx"),
    migrations.RenameField("order", "c", "d"),
]


class Migration(migrations.Migration):

    dependencies = [("shop", "0009_literals")]

    operations = [
        migrations.RunSQL(INDEX_SQL, migrations.RunSQL.noop),
        migrations.RunSQL(PAIR_SQL, migrations.RunSQL.noop),
        migrations.RunSQL([(INDEX_SQL, None)], migrations.RunSQL.noop),
        migrations.RunSQL(SQL_FROM_CALL, migrations.RunSQL.noop),
        migrations.RunSQL(UNBOUND_SQL),
        migrations.RunSQL(),
        migrations.RunPython("forwards"),
        AddIndex(model_name=TABLE, index=models.Index(fields=["e"], name="shop_order_e_idx")),
        migrations.addindex(model_name="order", index=models.Index(fields=["f"], name="shop_order_f_idx")),
        migrations.AddIndex(model_name="order", model_name="ignored", index=None),
        migrations.SeparateDatabaseAndState(database_operations=DB_OPS),
        migrations.SeparateDatabaseAndState(
            database_operations=(migrations.RemoveIndex(model_name="order", name="shop_order_g_idx"),),
        ),
        migrations. AddIndex(model_name="order", index=None),
    ]
