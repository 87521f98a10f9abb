from django.db import migrations


class Migration(migrations.Migration):

    dependencies = [
        ("blog", "0008_remove_post_summary_state"),
    ]

    operations = [
        migrations.SeparateDatabaseAndState(
            database_operations=[
                migrations.RemoveField(model_name="post", name="summary"),
            ],
        ),
    ]
