from django.db import migrations


def forwards(apps, schema_editor):
    return [1, 2,


class Migration(migrations.Migration):
    operations = []
