from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [
        ("shop", "0002_order_number_idx"),
    ]

    operations = [
        migrations.RemoveIndex(
            model_name="order",
            name="shop_order_number_idx",
        ),
        migrations.AddIndex(
            model_name="order",
            index=models.Index(fields=["number", "created"], name="shop_order_number_created_idx"),
        ),
    ]
