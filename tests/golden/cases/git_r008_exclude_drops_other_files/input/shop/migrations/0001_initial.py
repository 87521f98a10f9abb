from django.db import migrations, models


class Migration(migrations.Migration):

    initial = True

    dependencies = []

    operations = [
        migrations.CreateModel(
            name="Order",
            fields=[
                ("id", models.BigAutoField(auto_created=True, primary_key=True, serialize=False, verbose_name="ID")),
                ("number", models.CharField(max_length=32)),
            ],
        ),
        migrations.AddIndex(
            model_name="order",
            index=models.Index(fields=["number"], name="shop_order_number_idx"),
        ),
    ]
