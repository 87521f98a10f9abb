from django.db import migrations

if True:
    class Migration(migrations.Migration):
        operations = [migrations.RemoveIndex(model_name="order", name="a_idx")]
