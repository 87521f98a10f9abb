from django.db import migrations, models

SEARCH_SQL = (
    "CREATE INDEX book_search_idx "  # rebuilt nightly
    "ON library_book USING gin (search)"
)


class Migration(migrations.Migration):

    dependencies = [("library", "0004_book_search")]

    operations = [
        # Parenthesised SQL with a comment and implicit concatenation is still
        # SQL: a locking index build (R003) whose reverse is given (no R013).
        migrations.RunSQL(
            sql=(
                "CREATE INDEX book_title_idx "  # built by hand
                "ON library_book (title)"
            ),
            reverse_sql=("DROP INDEX book_title_idx"),
        ),
        migrations.RunSQL((SEARCH_SQL), reverse_sql=(  # nothing to undo
            migrations.RunSQL.noop
        )),
        # A trailing comma makes a tuple: one list of statements, and its
        # concurrent build needs atomic = False (R004).
        migrations.RunSQL(
            ("CREATE INDEX CONCURRENTLY book_isbn_idx ON library_book (isbn)",),
            [("DROP INDEX CONCURRENTLY book_isbn_idx")],
        ),
        migrations.AddField("book", "subtitle", models.CharField(max_length=100, null=(True))),
        migrations.AddField("book", "code", models.SlugField(db_index=(False), default=(None))),
        migrations.AddField("book", "pages", models.IntegerField(default=(  # unknown until counted
            0
        ))),
        migrations.AlterField(
            model_name=("book"),
            name=("summary"),
            field=(models.TextField(null=((True)))),
        ),
        migrations.AlterUniqueTogether(name="book", unique_together=[ ]),
        migrations.AlterIndexTogether(name="book", index_together=set( )),
        migrations.AlterUniqueTogether(name="book", unique_together=(  # none left
        )),
    ]
