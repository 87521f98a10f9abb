from django.db import migrations


class Migration(migrations.Migration):

    dependencies = [
        ("blog", "0007_remove_post_legacy_slug"),
    ]

    operations = [
        migrations.SeparateDatabaseAndState(
            state_operations=[
                migrations.RemoveField(model_name="post", name="summary"),
            ],
        ),
    ]
