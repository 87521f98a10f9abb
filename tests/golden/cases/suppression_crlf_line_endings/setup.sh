# Written here so that no checkout setting can change the line endings.
mkdir -p shop/migrations
printf 'from django.db import migrations, models\r\n\r\n\r\nclass Migration(migrations.Migration):\r\n    operations = [\r\n        # tarn: ignore R001\r\n        migrations.AddIndex(model_name="order", index=None),\r\n        migrations.AddIndex(model_name="order", index=None),  # tarn: ignore\r\n        migrations.RemoveIndex(model_name="order", name="x"),\r\n    ]\r\n' > shop/migrations/0002_crlf.py
