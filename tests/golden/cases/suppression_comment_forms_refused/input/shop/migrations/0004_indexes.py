from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("shop", "0003_auto_20240110_0912")]

    operations = [
        # TARN: ignore R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["a"], name="order_a_idx")),
        # tarn: IGNORE R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["b"], name="order_b_idx")),
        # note tarn: ignore R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["c"], name="order_c_idx")),
        # tarn: ignored R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["d"], name="order_d_idx")),
        # tarn: ignore,R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["e"], name="order_e_idx")),
        # tarn: ignore
        migrations.AddIndex(model_name="order", index=models.Index(fields=["f"], name="order_f_idx")),
        # tarn: ignore R016 R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["g"], name="order_g_idx")),
        # tarn ignore R001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["h"], name="order_h_idx")),
        # tarn: ignore R0001
        migrations.AddIndex(model_name="order", index=models.Index(fields=["i"], name="order_i_idx")),
        migrations.RunSQL("SELECT 1  -- tarn: ignore R001", migrations.RunSQL.noop),
        migrations.AddIndex(model_name="order", index=models.Index(fields=["j"], name="order_j_idx")),
    ]
