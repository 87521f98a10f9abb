from django.db import migrations


class Migration(migrations.Migration):
    operations: list
    operations = [migrations.RemoveIndex(model_name="order", name="c_idx")]
