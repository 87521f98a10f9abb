from django.db import migrations


class Migration(migrations.Migration):
    operations += [migrations.RemoveIndex(model_name="order", name="c_idx")]
    operations = [migrations.RemoveIndex(model_name="order", name="d_idx")]
