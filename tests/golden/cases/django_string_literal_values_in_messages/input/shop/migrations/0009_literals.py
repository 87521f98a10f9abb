from django.db import migrations, models

PREFIX = "ignored"


class Migration(migrations.Migration):

    dependencies = [("shop", "0008_auto")]

    operations = [
        migrations.AddField("order", "caf\xe9", models.IntegerField()),
        migrations.AddField("order", r"raw\d+\n", models.IntegerField()),
        migrations.AddField("order", "tab\there", models.IntegerField()),
        migrations.AddField("order", "\u00e9t\u00e9\U0001F600", models.IntegerField()),
        migrations.AddField("order", "\101\0\18\777", models.IntegerField()),
        migrations.AddField("order", "\q\N{EM DASH}\x4g\ud800", models.IntegerField()),
        migrations.AddField("order", b"\xff", models.IntegerField()),
        migrations.AddField("order", f"plain", models.IntegerField()),
        migrations.AddField("order", f"{PREFIX}_code", models.IntegerField()),
        migrations.AddField("order", "con" "cat" 'ed', models.IntegerField()),
        migrations.AddField(
            "order",
            (
                "multi"
                # a comment between the parts
                "line"
            ),
            models.IntegerField(),
        ),
        migrations.AddField("order", Rb"\x41", models.IntegerField()),
        migrations.AddField("order", PREFIX, models.IntegerField()),
        migrations.AddField("order", """triple
quoted""", models.IntegerField()),
        migrations.AddField("order", "a" f"{PREFIX}" "b", models.IntegerField()),
    ]
