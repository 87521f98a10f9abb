from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [
        ("catalog", "0005_product_title_idx_concurrently"),
    ]

    operations = [
        migrations.SeparateDatabaseAndState(
            state_operations=[
                migrations.AddIndex(
                    model_name="product",
                    index=models.Index(fields=["price"], name="catalog_pro_price_idx"),
                ),
            ],
            database_operations=[
                migrations.AddIndex(
                    model_name="Product",
                    index=models.Index(fields=["price"], name="catalog_pro_price_idx"),
                ),
            ],
        ),
    ]
