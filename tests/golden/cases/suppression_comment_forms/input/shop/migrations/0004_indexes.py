from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("shop", "0003_auto_20240110_0912")]

    operations = [
        # tarn: ignore R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["a"], name="order_a_idx")),
        ##tarn:ignore r001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["b"], name="order_b_idx")),
        #  tarn  :  ignore   R016 ,, r001 ,
        migrations.AddIndex(model_name="order", index=models.Index(fields=["c"], name="order_c_idx")),
        # tarn: ignore R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["d"], name="order_d_idx")),
        migrations.AddIndex(model_name="order", index=models.Index(fields=["e"], name="order_e_idx")),  # tarn: ignore R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["f"], name="order_f_idx")),
        # tarn: ignore R001
        migrations.RemoveIndex(model_name="order", name="order_old_idx"),
    ]
