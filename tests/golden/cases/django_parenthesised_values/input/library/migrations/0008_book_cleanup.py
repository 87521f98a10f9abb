from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("library", "0007_book_rating")]

    # The list and its calls are read through parentheses; a call with a
    # trailing comma inside them is a tuple, which is no operation.
    operations = ([
        (migrations.RemoveField("book", "legacy_code")),
        (migrations.RemoveField("book", "old_code"),),
        migrations.SeparateDatabaseAndState(database_operations=[
            (migrations.AddIndex("book", models.Index(fields=["title"], name="book_title_2_idx"))),
        ]),
    ])
