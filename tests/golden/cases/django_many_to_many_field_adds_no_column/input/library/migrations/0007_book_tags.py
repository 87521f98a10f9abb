from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("library", "0006_tag")]

    operations = [
        # A many-to-many field lives in a join table: book gets no column.
        migrations.AddField(
            model_name="book",
            name="tags",
            field=models.ManyToManyField(to="library.tag"),
        ),
        migrations.AlterField(
            model_name="book",
            name="readers",
            field=models.ManyToManyField(blank=True, to="library.reader"),
        ),
        # A column of book's own still counts.
        migrations.AddField(
            model_name="book",
            name="edition",
            field=models.IntegerField(),
        ),
        # Removing the field is judged as before.
        migrations.RemoveField(model_name="book", name="shelves"),
    ]
