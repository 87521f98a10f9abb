from django.db import migrations

class Migration(migrations.Migration)
    operations = []
