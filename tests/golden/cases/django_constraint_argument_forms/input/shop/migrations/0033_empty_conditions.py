from django.db import migrations, models
from django.db.models import Q


class Migration(migrations.Migration):

    dependencies = [("shop", "0032_constraint_forms")]

    operations = [
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="q1", condition=models.Q( ))),
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="q2", condition=models.Q(
        ))),
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="q3", condition=Q(
            # every row
        ))),
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="q4", condition=Q( \
        ))),
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="q5", condition=models.Q ())),
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="q6", condition=(None))),
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="q7", condition=Q(  # active rows
            active=True))),
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="q8", condition=Q(*[]))),
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="q9", condition=query.Q())),
    ]
