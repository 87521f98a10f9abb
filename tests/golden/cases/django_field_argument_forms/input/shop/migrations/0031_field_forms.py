from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [("shop", "0030_previous")]

    operations = [
        migrations.AddField("order", "f1", ForeignKey(to="shop.Customer", on_delete=models.CASCADE, db_constraint=0, null=True)),
        migrations.AddField("order", "f2", models.CharField(db_index=True, max_length=3, null=True)),
        migrations.AddField("order", "f3", models.AutoField(primary_key=True)),
        migrations.AddField("order", "f4", models.CharField(null = True )),
        migrations.AddField("order", "f5", models.CharField(null=(True))),
        migrations.AddField("order", "f6", models.CharField(null=1)),
        migrations.AddField("order", "f7", models.CharField(null=False, null=True)),
        migrations.AddField("order", "f8", models.JSONField(default=dict)),
        migrations.AddField("order", "f9", models.DateTimeField(db_default=None)),
        migrations.AddField("order", "f10", FIELD),
        migrations.AddField("order", "f11", models.CharField),
    ]
