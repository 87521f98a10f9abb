"""One text that each framework's analysis reads differently."""
from alembic import op
from django.db import migrations, models


class Migration(migrations.Migration):
    operations = [
        migrations.AddIndex(model_name="order", index=models.Index(fields=["n"], name="n_idx")),
    ]


def upgrade():
    op.create_index("ix_orders_n", "orders", ["n"])
    return "CREATE INDEX idx_order_n ON \"order\" (n)"
