from django.db import migrations, models


class Migration(migrations.Migration):
    operations = [
        migrations . AddIndex(model_name="order", index=models.Index(fields=["a"], name="order_a")),
        migrations.\
            AddIndex(model_name="order", index=models.Index(fields=["b"], name="order_b")),
        (migrations).AddField(
            model_name="order",
            name="customer",
            field=models . ForeignKey(on_delete=models.CASCADE, to="shop.customer", null=True),
        ),
        migrations.AddConstraint(
            model_name="order",
            constraint=models.  # unique per customer
            UniqueConstraint(fields=["customer", "number"], name="order_customer_number"),
        ),
        getattr(migrations, "AddIndex")(model_name="order", index=models.Index(fields=["c"], name="order_c")),
    ]
