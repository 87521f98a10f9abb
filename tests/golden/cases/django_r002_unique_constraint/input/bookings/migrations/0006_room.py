from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [
        ("bookings", "0005_guest_unique_active_email"),
    ]

    operations = [
        migrations.CreateModel(
            name="Room",
            fields=[
                ("id", models.BigAutoField(auto_created=True, primary_key=True, serialize=False, verbose_name="ID")),
                ("number", models.CharField(max_length=8)),
                ("floor", models.IntegerField()),
            ],
        ),
        migrations.AddConstraint(
            model_name="room",
            constraint=models.UniqueConstraint(fields=("floor", "number"), name="unique_floor_number"),
        ),
        migrations.AddConstraint(
            model_name="room",
            constraint=models.CheckConstraint(check=models.Q(("floor__gte", 0)), name="floor_not_negative"),
        ),
    ]
