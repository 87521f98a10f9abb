from django.db import migrations


class Migration(migrations.Migration):
    operations = migrations.RemoveIndex(model_name="order", name="f_idx")
    operations = [migrations.RemoveIndex(model_name="order", name="g_idx")]
