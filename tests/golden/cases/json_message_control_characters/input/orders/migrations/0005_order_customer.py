from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("orders", "0004_order_total")]

    operations = [
        migrations.AddField(
            model_name="or\nder\x1b[2J",
            name="customer",
            field=models.ForeignKey(null=True, on_delete=models.PROTECT, to="customers.customer"),
        ),
        migrations.AddField("order", "tab\tbed", models.IntegerField()),
    ]
