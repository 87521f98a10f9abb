import django.db.models.functions.text
from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [
        ("bookings", "0004_booking_unique_room_day"),
    ]

    operations = [
        migrations.AddConstraint(
            model_name="guest",
            constraint=models.UniqueConstraint(
                fields=["email"], condition=models.Q(("deleted_at__isnull", True)), name="unique_active_email"
            ),
        ),
        migrations.AddConstraint(
            model_name="guest",
            constraint=models.UniqueConstraint(
                django.db.models.functions.text.Lower("username"), name="unique_lower_username"
            ),
        ),
        migrations.AddConstraint(
            model_name="guest",
            constraint=models.UniqueConstraint(fields=["passport"], include=["country"], name="unique_passport"),
        ),
    ]
