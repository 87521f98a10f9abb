from django.db import migrations

base_operations = [migrations.RemoveIndex(model_name="order", name="b_idx")]


class Migration(migrations.Migration):
    operations = base_operations
