"""stock location

Revision ID: 7f8e9d0c1b2a
Revises: 1a2b3c4d5e6f
Create Date: 2024-06-11 16:40:51.002311

"""
from alembic import op
import sqlalchemy as sa


revision = "7f8e9d0c1b2a"
down_revision = "1a2b3c4d5e6f"
branch_labels = None
depends_on = None


def upgrade() -> None:
    op.add_column("stock", sa.Column("location", sa.String(length=32), nullable=False))
    op.create_index("ix_stock_location", "stock", ["location"])
    with op.get_context().autocommit_block():
        op.create_index(
            "ix_stock_quantity", "stock", ["quantity"], postgresql_concurrently=True
        )


def downgrade() -> None:
    op.drop_index("ix_stock_quantity", table_name="stock")
    op.drop_index("ix_stock_location", table_name="stock")
    op.drop_column("stock", "location")
