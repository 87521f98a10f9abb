"""tables

Revision ID: f6a7b8c9d0e1
Revises: e5f6a7b8c9d0
Create Date: 2024-02-10 10:12:33.123456

"""
from typing import Sequence, Union

from alembic import op
import sqlalchemy as sa


# revision identifiers, used by Alembic.
revision: str = "f6a7b8c9d0e1"
down_revision: Union[str, None] = "e5f6a7b8c9d0"
branch_labels: Union[str, Sequence[str], None] = None
depends_on: Union[str, Sequence[str], None] = None


def upgrade() -> None:
    op.drop_table("legacy_orders")
    op.rename_table("carts", "baskets")
    op.create_table("drafts", sa.Column("id", sa.Integer(), primary_key=True))
    op.rename_table("drafts", "sketches")
    op.drop_table("sketches")
    op.drop_table(table_name="audit_log", schema="archive")
    op.drop_table("tmp_import")  # tarn: ignore R019


def downgrade() -> None:
    op.rename_table("baskets", "carts")
