from django.db import migrations


class Migration(migrations.Migration):

    dependencies = [
        ("blog", "0011_backfill_slugs"),
    ]

    operations = [
        migrations.RunSQL("UPDATE blog_post SET status = 'draft' WHERE status IS NULL"),
        migrations.RunSQL(
            sql="UPDATE blog_post SET featured = false",
            reverse_sql=migrations.RunSQL.noop,
        ),
        migrations.RunSQL("DELETE FROM blog_tag WHERE name = ''", reverse_sql=None),
        migrations.RunSQL("VACUUM blog_post", ""),
    ]
