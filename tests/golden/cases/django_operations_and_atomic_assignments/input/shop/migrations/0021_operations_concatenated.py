from django.db import migrations


class Migration(migrations.Migration):
    operations = [migrations.RemoveIndex(model_name="order", name="a_idx")] + [
        migrations.RemoveIndex(model_name="order", name="b_idx")
    ]
