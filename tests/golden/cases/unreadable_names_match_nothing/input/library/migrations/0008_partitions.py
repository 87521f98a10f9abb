from django.db import migrations, models

prefix = "archive"
other = "ledger"


class Migration(migrations.Migration):

    dependencies = [("library", "0007_book_tags")]

    operations = [
        migrations.CreateModel(
            name=f"{prefix}_rows",
            fields=[("id", models.BigAutoField(primary_key=True))],
        ),
        # Names that cannot be read are no model this migration created.
        migrations.AddField(model_name=f"{other}_x", name="total", field=models.IntegerField()),
        migrations.AddIndex(model_name=f"{other}_y", index=models.Index(fields=["total"], name="total_idx")),
        migrations.CreateModel(fields=[("id", models.BigAutoField(primary_key=True))]),
        migrations.AddField(name="amount", field=models.IntegerField()),
        # A model created here by a readable name still counts as new.
        migrations.CreateModel(
            name="Loan",
            fields=[("id", models.BigAutoField(primary_key=True))],
        ),
        migrations.AddField(model_name="loan", name="days", field=models.IntegerField()),
    ]
