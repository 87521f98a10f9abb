import django.db.models.deletion
from django.db import migrations, models


def backfill_owner(apps, schema_editor):
    Product = apps.get_model("shop", "Product")
    Product.objects.filter(owner__isnull=True).update(owner_id=1)


class Migration(migrations.Migration):

    dependencies = [
        ("shop", "0004_remove_name_index"),
    ]

    operations = [
        migrations.AddField(
            model_name="product",
            name="owner",
            field=models.ForeignKey(
                null=True,
                on_delete=django.db.models.deletion.SET_NULL,
                to="shop.customer",
            ),
        ),
        migrations.RunPython(backfill_owner),
    ]
