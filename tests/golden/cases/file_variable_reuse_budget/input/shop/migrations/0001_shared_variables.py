from django.db import migrations, models

# A list named twice is read twice, well within the budget.
INDEXES = [migrations.AddIndex("order", models.Index(fields=["a"], name="a_idx"))]


class Migration(migrations.Migration):
    operations = [
        migrations.SeparateDatabaseAndState(database_operations=INDEXES),
        migrations.SeparateDatabaseAndState(database_operations=INDEXES),
    ]
