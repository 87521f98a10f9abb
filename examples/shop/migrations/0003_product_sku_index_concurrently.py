from django.contrib.postgres.operations import AddIndexConcurrently
from django.db import migrations, models


class Migration(migrations.Migration):

    atomic = False

    dependencies = [
        ("shop", "0002_product_sku_index"),
    ]

    operations = [
        AddIndexConcurrently(
            model_name="product",
            index=models.Index(fields=["price"], name="shop_product_price_idx"),
        ),
    ]
