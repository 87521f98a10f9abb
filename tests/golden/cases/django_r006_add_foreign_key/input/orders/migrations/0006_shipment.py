import django.db.models.deletion
from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("orders", "0005_order_customer")]

    operations = [
        migrations.CreateModel(
            name="Shipment",
            fields=[("id", models.BigAutoField(primary_key=True, serialize=False))],
        ),
        migrations.AddField(
            model_name="shipment",
            name="order",
            field=models.ForeignKey(on_delete=django.db.models.deletion.CASCADE, to="orders.order"),
        ),
    ]
