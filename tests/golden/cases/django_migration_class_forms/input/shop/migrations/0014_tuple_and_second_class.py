from django.db import migrations


class Migration(migrations.Migration):
    operations = (
        migrations.RemoveIndex(model_name="order", name="d_idx"),
        [migrations.RemoveIndex(model_name="order", name="nested_list_idx")],
        (migrations.RemoveIndex(model_name="order", name="parenthesized_idx")),
    )


class Migration(migrations.Migration):
    operations = [migrations.RemoveIndex(model_name="order", name="second_class_idx")]
