from django.contrib.postgres.operations import RemoveIndexConcurrently
from django.db import migrations


class Migration(migrations.Migration):
    atomic = False

    dependencies = [("catalog", "0007_remove_product_sku_idx")]

    operations = [
        RemoveIndexConcurrently(model_name="product", name="catalog_pro_title_idx"),
    ]
