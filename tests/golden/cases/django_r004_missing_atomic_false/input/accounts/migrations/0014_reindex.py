from django.db import migrations


class Migration(migrations.Migration):

    atomic = True

    dependencies = [("accounts", "0013_user_email_idx")]

    operations = [
        migrations.RunSQL("REINDEX INDEX CONCURRENTLY accounts_us_email_idx", migrations.RunSQL.noop),
    ]

    atomic = (False)
