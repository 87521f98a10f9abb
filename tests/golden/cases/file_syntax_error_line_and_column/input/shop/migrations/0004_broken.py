from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("shop", "0003_auto")]

    operations = [
        migrations.RemoveIndex(model_name="order", name="a_idx") migrations.RemoveIndex(model_name="order", name="b_idx"),
    ]
