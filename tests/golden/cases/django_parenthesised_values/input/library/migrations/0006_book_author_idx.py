from django.db import migrations


class Migration(migrations.Migration):
    atomic = (  # the index below is built concurrently
        False
    )

    dependencies = [("library", "0005_book_search")]

    operations = [
        migrations.RunSQL(
            sql=(
                "CREATE INDEX CONCURRENTLY book_author_idx "
                "ON library_book (author_id)"
            ),
            reverse_sql=("DROP INDEX CONCURRENTLY book_author_idx"),
        ),
    ]
