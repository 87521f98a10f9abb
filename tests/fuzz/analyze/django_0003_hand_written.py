from django.db import migrations, models

TABLE = "library_volume"
CREATE_INDEX = (
    "CREATE INDEX CONCURRENTLY IF NOT EXISTS book_title_idx "  # named again in 0004
    "ON library_book (title);"
)
DROP_INDEX = "DROP INDEX CONCURRENTLY IF EXISTS book_title_idx;"
STATE = [
    migrations.AddIndex("book", models.Index(fields=["title"], name="book_title_idx")),
]
extra = [migrations.DeleteModel("Legacy")]


def fill(apps, schema_editor):
    """Docstrings like '# tarn: ignore R001' are no comments."""


class Migration(migrations.Migration):
    atomic = False

    dependencies = [("library", "0002_data")]

    operations = [
        migrations.SeparateDatabaseAndState(
            database_operations=[
                migrations.RunSQL(CREATE_INDEX, DROP_INDEX),
                migrations.SeparateDatabaseAndState(
                    [migrations.RunSQL(sql="SELECT 1", reverse_sql=migrations.RunSQL.noop)],
                ),
            ],
            state_operations=STATE,
        ),
        migrations.AddField("book", "isbn", models.CharField(max_length=13, null=True, db_index=True)),
        migrations.RenameField("book", "title", "name"),
        migrations.RenameModel("Book", "Volume"),
        migrations.AlterModelTable("volume", TABLE),
        *extra,
        migrations.RunPython(code=fill, reverse_code=None),  # tarn: ignore R005, r012
    ]


LATE = "not a module variable of the migration"
