from django.db import migrations
from django.utils.text import slugify


def fill_slugs(apps, schema_editor):
    Post = apps.get_model("blog", "Post")
    for post in Post.objects.filter(slug=""):
        post.slug = slugify(post.title)
        post.save(update_fields=["slug"])


def clear_slugs(apps, schema_editor):
    apps.get_model("blog", "Post").objects.update(slug="")


class Migration(migrations.Migration):

    dependencies = [
        ("blog", "0010_rename_body_post_content"),
    ]

    operations = [
        migrations.RunPython(fill_slugs),
        migrations.RunPython(fill_slugs, clear_slugs),
        migrations.RunPython(fill_slugs, migrations.RunPython.noop),
        migrations.RunPython(code=fill_slugs, reverse_code=None),
        migrations.RunPython(lambda apps, schema_editor: None),
    ]
