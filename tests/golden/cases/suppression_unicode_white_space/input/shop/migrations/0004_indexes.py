from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("shop", "0003_auto_20240110_0912")]

    operations = [
        # tarn: ignore R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["a"], name="order_a_idx")),
        # tarn:　ignore R016, R001 
        migrations.AddIndex(model_name="order", index=models.Index(fields=["b"], name="order_b_idx")),
        # tarn: ignore​R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["c"], name="order_c_idx")),
    ]
