from django.db import migrations, models


class Migration(migrations.Migration):
    # Backslash continuations are read as Python reads them: not a value,
    # not an element, not an argument.
    atomic = (\
        False)

    dependencies = [("library", "0006_book_author_idx")]

    operations = [
        migrations.AddIndexConcurrently(
            "book", models.Index(fields=["year"], name="book_year_idx")
        ),
        migrations.AddField("book", "note", models.TextField(null=(\
            True))),
        migrations.AddField("book", "rating", models.IntegerField(default=(\
            None))),
        migrations.AddField("book", "barcode", models.CharField(max_length=20, null=True, unique=(\
            True))),
        migrations.AlterUniqueTogether(name="book", unique_together=[\
        ]),
        migrations.AddField("book", "pages", \
            models.IntegerField()),
    ]
