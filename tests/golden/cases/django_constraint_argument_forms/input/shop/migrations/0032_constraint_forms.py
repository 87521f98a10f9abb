from django.contrib.postgres.constraints import ExclusionConstraint
from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("shop", "0031_field_forms")]

    operations = [
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="u1", include=None, opclasses=set())),
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(fields=["a"], name="u2", opclasses=["varchar_pattern_ops"])),
        migrations.AddConstraint(model_name="order", constraint=models.UniqueConstraint(  # plain
            fields=["a"], name="u3")),
        migrations.AddConstraint(model_name="order", constraint=UniqueConstraint),
        migrations.AddConstraint(model_name="order", constraint=models.CheckConstraint(check=Q(a__gt=0), name="c1", condition=Q(x=1))),
        migrations.AddConstraint(model_name="order", constraint=ExclusionConstraint(name="e1", expressions=[])),
        migrations.AddConstraint(model_name="order", constraint=models.Deferrable(name="x")),
        migrations.RemoveConstraint("order", "u1"),
        migrations.AddConstraint("order", models.UniqueConstraint(fields=["a"], name="u4")),
    ]
