from django.contrib.postgres.operations import RemoveIndexConcurrently
from django.db import migrations


class Migration(migrations.Migration):
    if x:
        atomic = False
    operations = [RemoveIndexConcurrently(model_name="order", name="e_idx")]
