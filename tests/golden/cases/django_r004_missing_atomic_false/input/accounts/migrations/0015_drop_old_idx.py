from django.db import migrations


class Migration(migrations.Migration):

    atomic = "False"

    dependencies = [("accounts", "0014_reindex")]

    operations = [
        migrations.RunSQL("REINDEX INDEX accounts_us_email_idx", migrations.RunSQL.noop),
        migrations.SeparateDatabaseAndState(
            database_operations=[
                migrations.RunSQL("DROP INDEX CONCURRENTLY accounts_user_old_idx", migrations.RunSQL.noop),
            ],
        ),
    ]
