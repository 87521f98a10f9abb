from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("catalog", "0008_remove_title_idx_concurrently")]

    operations = [
        migrations.CreateModel(
            name="Tag",
            fields=[("id", models.BigAutoField(primary_key=True, serialize=False)), ("label", models.TextField())],
            options={"indexes": [models.Index(fields=["label"], name="catalog_tag_label_idx")]},
        ),
        migrations.RemoveIndex(model_name="tag", name="catalog_tag_label_idx"),
    ]
