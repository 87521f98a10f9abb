from django.db import migrations


class Migration(migrations.Migration):
    initial = True
    operations = [
        migrations.RunSQL("SELECT 1", reverse_sql=migrations.RunSQL.noop),
    ]
