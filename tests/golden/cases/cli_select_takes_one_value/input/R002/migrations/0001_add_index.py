from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [
        ("shop", "0001_initial"),
    ]

    operations = [
        migrations.RemoveIndex(
            model_name="order",
            name="shop_order_created_idx",
        ),
        migrations.AddIndex(
            model_name="order",
            index=models.Index(fields=["created"], name="shop_order_created_idx"),
        ),
    ]
