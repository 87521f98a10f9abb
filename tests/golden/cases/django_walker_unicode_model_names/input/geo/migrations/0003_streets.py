from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [
        ("geo", "0002_initial_data"),
    ]

    operations = [
        migrations.SeparateDatabaseAndState(
            database_operations=[
                migrations.CreateModel(name="Straße", fields=[("id", models.BigAutoField(primary_key=True))]),
                migrations.CreateModel(name="İlçe", fields=[("id", models.BigAutoField(primary_key=True))]),
                migrations.CreateModel(name="ΟΔΟΣ", fields=[("id", models.BigAutoField(primary_key=True))]),
            ],
        ),
        # Full lower-case mapping: ß stays ß, İ becomes i + U+0307, a final Σ becomes ς.
        migrations.AddIndex(model_name="straße", index=models.Index(fields=["id"], name="s1")),
        migrations.AddIndex(model_name="STRASSE", index=models.Index(fields=["id"], name="s2")),
        migrations.AddIndex(model_name="i̇lçe", index=models.Index(fields=["id"], name="i1")),
        migrations.AddIndex(model_name="ilçe", index=models.Index(fields=["id"], name="i2")),
        migrations.AddIndex(model_name="οδος", index=models.Index(fields=["id"], name="o1")),
        migrations.AddIndex(model_name="οδοσ", index=models.Index(fields=["id"], name="o2")),
        migrations.RenameModel(old_name="straße", new_name="Gasse"),
        migrations.AddField(model_name="GASSE", name="n", field=models.IntegerField(unique=True)),
        migrations.AddField(model_name="straße", name="n", field=models.IntegerField(unique=True)),
        migrations.SeparateDatabaseAndState(
            database_operations=[
                # tarn: ignore R019
                migrations.DeleteModel(name="Weg"),
                migrations.AlterModelTable(
                    name="Pfad",
                    table="pfad",  # tarn: ignore r019
                ),
                migrations.DeleteModel(name="Steg"),
            ],
        ),
    ]
