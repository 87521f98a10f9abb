from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("shop", "0004_indexes")]

    operations = [
        # tarn: ignore R001
        # the comment two lines above does not reach the operation below

        migrations.AddIndex(
            model_name="order",
            index=models.Index(fields=["a"], name="order_a_idx"),
        ),
        migrations.AddIndex(
            model_name="order",
            # tarn: ignore R001
            index=models.Index(fields=["b"], name="order_b_idx"),
        ),
        migrations.AddIndex(
            model_name="order",
            index=models.Index(fields=["c"], name="order_c_idx"),
        ),  # tarn: ignore R001
        migrations.RemoveIndex(
            model_name="order",
            name="order_old_idx",
        ),
        migrations.AddIndex(
            model_name="order",
            index=models.Index(fields=["d"], name="order_d_idx"),
        ),
        # tarn: ignore R001
    ]
