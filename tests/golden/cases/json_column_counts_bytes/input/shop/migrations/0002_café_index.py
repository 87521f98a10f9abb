from django.db import migrations, models


class Migration(migrations.Migration):
    dependencies = [("shop", "0001_initial")]
    label = "café"; operations = [migrations.AddIndex(model_name="order", index=models.Index(fields=["n"], name="n_idx"))]
