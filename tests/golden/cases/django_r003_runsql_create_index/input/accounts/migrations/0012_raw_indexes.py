from django.db import migrations


class Migration(migrations.Migration):

    atomic = False

    dependencies = [
        ("accounts", "0011_user_last_seen"),
    ]

    operations = [
        migrations.RunSQL(
            "CREATE INDEX accounts_user_last_seen_idx ON accounts_user (last_seen);",
            reverse_sql="DROP INDEX accounts_user_last_seen_idx;",
        ),
        migrations.RunSQL(
            sql=[
                "CREATE INDEX CONCURRENTLY accounts_user_email_idx ON accounts_user (email);",
                "create unique index accounts_user_handle_idx on accounts_user (handle);",
            ],
            reverse_sql=migrations.RunSQL.noop,
        ),
        migrations.RunSQL(
            """
            -- CREATE INDEX accounts_user_old_idx ON accounts_user (old);
            CREATE INDEX CONCURRENTLY IF NOT EXISTS accounts_user_city_idx ON accounts_user (city);
            /* CREATE INDEX accounts_user_zip_idx ON accounts_user (zip); */
            """,
            reverse_sql="DROP INDEX CONCURRENTLY accounts_user_city_idx",
        ),
        migrations.RunSQL(
            "SELECT 1",
            reverse_sql="CREATE INDEX accounts_user_legacy_idx ON accounts_user (legacy)",
        ),
        migrations.RunSQL("CREATE INDEX accounts_user_flag_idx ON accounts_user ((flags ->> 'concurrently'))", migrations.RunSQL.noop),
        migrations.SeparateDatabaseAndState(
            database_operations=[
                migrations.RunSQL("CREATE INDEX accounts_user_team_idx ON accounts_user (team_id)", migrations.RunSQL.noop),
            ],
        ),
        migrations.RunSQL("CREATE INDEX accounts_user_c_idx ON accounts_user (concurrently)", migrations.RunSQL.noop),
    ]
