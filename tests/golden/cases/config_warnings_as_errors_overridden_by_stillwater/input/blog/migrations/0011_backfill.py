from django.db import migrations


def forwards(apps, schema_editor):
    pass


class Migration(migrations.Migration):

    dependencies = [("blog", "0010_post_status")]

    operations = [
        migrations.RunPython(forwards),
        migrations.RunSQL("UPDATE blog_post SET status = 'draft'"),
        # tarn: ignore R013
        migrations.RunSQL("UPDATE blog_post SET flags = 0"),
    ]
