import django.db.migrations
from django.db import migrations


def forwards(apps, schema_editor):
    pass


class Migration(migrations.Migration):

    dependencies = [("library", "0008_partitions")]

    operations = [
        # The no-op marker, however much of its module path is written.
        migrations.RunSQL("UPDATE library_book SET title = trim(title)", django.db.migrations.RunSQL.noop),
        migrations.RunSQL(
            sql="UPDATE library_book SET isbn = upper(isbn)",
            reverse_sql=django.db.migrations.RunPython.noop,
        ),
        migrations.RunSQL("DELETE FROM library_loan WHERE days < 0", reverse_sql=RunSQL.noop),
        migrations.RunPython(forwards, django.db.migrations.RunPython.noop),
        # Something else's noop is no reverse.
        migrations.RunSQL("DELETE FROM library_tag WHERE name = ''", reverse_sql=helpers.noop),
    ]
