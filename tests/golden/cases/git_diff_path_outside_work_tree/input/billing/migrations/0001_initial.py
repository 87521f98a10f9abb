from django.db import migrations, models


class Migration(migrations.Migration):

    initial = True

    operations = [
        migrations.CreateModel(
            name="Invoice",
            fields=[("id", models.BigAutoField(primary_key=True, serialize=False))],
        ),
    ]
