from django.db import migrations


@decorator
class Migration(migrations.Migration):
    operations = [migrations.RemoveIndex(model_name="order", name="e_idx")]
