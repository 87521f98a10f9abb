from django.contrib.postgres.operations import AddIndexConcurrently
from django.db import migrations, models


class Migration(migrations.Migration):

    atomic = False

    dependencies = [
        ("catalog", "0004_supplier_and_indexes"),
    ]

    operations = [
        AddIndexConcurrently(
            model_name="product",
            index=models.Index(fields=["title"], name="catalog_pro_title_idx"),
        ),
    ]
